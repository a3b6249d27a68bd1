// The performance page against the simulated access point.
#include "DevicePageFixture.h"
#include "TFM_Performace.h"

namespace {

const std::string kBeacon = kP + "2.1.3.2.1.1.10.1";
const std::string kDtim = kP + "2.1.3.2.1.1.11.1";
const std::string kDataRate = kP + "2.1.3.2.1.1.8.1";
const std::string kWifiMode = kP + "2.1.3.2.1.1.9.1";
const std::string kApMode = kP + "2.1.3.2.1.1.18.1";
const std::string kUserLimit = kP + "3.3.2.1.1.2.1";
const std::string kLoadBalance = kP + "3.3.2.1.1.1.1";
const std::string kShortGi = kP + "2.1.3.2.1.1.22.1";

using PerformancePage = DevicePage<TFM_Performace>;

TEST_F(PerformancePage, BeaconIntervalRange)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_EQ(find<QLabel>("Label_Ack")->text(), "Ack Time Out (2.4GHz, 64~200)");
    EXPECT_TRUE(combo("CB_WMode1")->isVisible());
    EXPECT_FALSE(combo("CB_WMode2")->isVisible());
    expectFitsScreen();
    struct Case { const char *beacon; bool accepted; };
    int writes = 0;
    for (const Case &c : {Case{"25", true}, Case{"500", true}, Case{"24", false}, Case{"501", false},
                          Case{"100x", false}, Case{"", false}}) {
        SCOPED_TRACE(c.beacon);
        const int before = boxes.count();
        type("Ed_BeInta", c.beacon);
        click("Bt_Apply");
        if (c.accepted) {
            EXPECT_EQ(boxes.count(), before);
            EXPECT_EQ(status(), "Save OK!");
            EXPECT_EQ(number(kBeacon), atol(c.beacon));
            EXPECT_EQ(setsOf(kBeacon), ++writes);
        } else {
            ASSERT_EQ(boxes.count(), before + 1);
            EXPECT_EQ(boxes.lastText(), "Please input a number between 25 and 500.");
            EXPECT_EQ(boxes.calls().last().caption, "Error");
            EXPECT_TRUE(edit("Ed_BeInta")->text().isEmpty());
            EXPECT_EQ(setsOf(kBeacon), writes);
        }
    }
}

TEST_F(PerformancePage, OtherRangesAndTheirFields)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_Grouping", "Enable");
    EXPECT_TRUE(edit("Ed_ULimit")->isEnabled());
    struct Case { const char *field; const char *value; const char *message; };
    for (const Case &c : {Case{"Ed_DTIMa", "16", "Please input a number between 1 and 15."},
                          Case{"Ed_ULimit", "65", "The range of 'User Limit' is from 0 to 64"},
                          Case{"Ed_AckTimeOut", "63", "The Ack TimeOut value range is 64~200."}}) {
        SCOPED_TRACE(c.field);
        openPage();
        choose("CB_Grouping", "Enable");
        type(c.field, c.value);
        click("Bt_Apply");
        EXPECT_EQ(boxes.lastText(), c.message);
        EXPECT_EQ(device.log().find("set "), std::string::npos);
    }
    openPage();
    choose("CB_Grouping", "Enable");
    type("Ed_ULimit", "12");
    click("Bt_Apply");
    EXPECT_EQ(status(), "Save OK!");
    EXPECT_EQ(number(kUserLimit), 12);
    EXPECT_EQ(number(kLoadBalance), 1);
}

TEST_F(PerformancePage, WepAndTkipRemove80211nOnly)
{
    struct Case { long auth, encryption, cipher; bool removed; };
    for (const Case &c : {Case{3, 0, 3, true}, Case{7, 0, 3, true}, Case{1, 1, 1, true}, Case{2, 1, 1, true},
                          Case{3, 0, 2, false}, Case{1, 0, 3, false}}) {
        SCOPED_TRACE(c.auth * 100 + c.encryption * 10 + c.cipher);
        ASSERT_NO_FATAL_FAILURE(startDevice());
        ASSERT_TRUE(client->setInt(kP + "2.1.3.3.1.1.1.1", c.auth).ok());
        ASSERT_TRUE(client->setInt(kP + "2.1.3.3.1.1.2.1", c.encryption).ok());
        ASSERT_TRUE(client->setInt(kP + "2.1.3.3.1.1.5.1", c.cipher).ok());
        ASSERT_TRUE(client->setInt(kWifiMode, 2).ok()); // 802.11n Only
        openPage();
        EXPECT_EQ(items("CB_WMode1").contains("802.11n Only"), !c.removed);
        EXPECT_EQ(combo("CB_WMode1")->currentText(),
                  c.removed ? "Mixed 802.11n,802.11g and 802.11b" : "802.11n Only");
        page.reset();
        device.stop();
    }
}

TEST_F(PerformancePage, DataRateFollowsTheRadioMode)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setBytes(kDataRate, "18").ok());
    openPage();
    EXPECT_FALSE(combo("CB_DRate")->isEnabled());
    EXPECT_EQ(combo("CB_DRate")->currentText(), "Best(up to 300)");
    EXPECT_TRUE(combo("CB_ShortGI")->isEnabled());
    click("Bt_Apply");
    EXPECT_EQ(text(kDataRate), "0");

    choose("CB_WMode1", "Mixed 802.11g and 802.11b");
    EXPECT_TRUE(combo("CB_DRate")->isEnabled());
    EXPECT_EQ(combo("CB_DRate")->itemText(0), "Best(up to 54)");
    EXPECT_EQ(combo("CB_ShortGI")->currentText(), "Disable");
    EXPECT_FALSE(combo("CB_ShortGI")->isEnabled());
    choose("CB_DRate", "5.5");
    click("Bt_Apply");
    EXPECT_EQ(status(), "Save OK!");
    EXPECT_EQ(text(kDataRate), "5.5");
    EXPECT_EQ(number(kWifiMode), 3);
    // The device's own rate lists are read only: never part of a write.
    EXPECT_EQ(setsOf(kP + "2.1.3.2.1.1.20.1") + setsOf(kP + "2.1.3.2.1.1.25.1"), 0);

    openPage(); // a legacy mode shows the rate read
    EXPECT_EQ(combo("CB_DRate")->currentText(), "5.5");
}

TEST_F(PerformancePage, FiveGigahertzLetsOnly80211aChooseTheRate)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kP + "2.1.3.2.1.1.24.1", 1).ok());
    ASSERT_TRUE(client->setInt(kWifiMode, 9).ok());
    openPage();
    EXPECT_EQ(find<QLabel>("Label_Ack")->text(), "Ack Time Out (5GHz, 50~200)");
    EXPECT_TRUE(combo("CB_WMode2")->isVisible());
    EXPECT_FALSE(combo("CB_WMode1")->isVisible());
    EXPECT_FALSE(combo("CB_DRate")->isEnabled());
    choose("CB_WMode2", "802.11a Only");
    EXPECT_TRUE(combo("CB_DRate")->isEnabled());
    EXPECT_EQ(items("CB_DRate").size(), 9); // no 802.11b rates on 5 GHz
    choose("CB_DRate", "36");
    type("Ed_AckTimeOut", "50");
    click("Bt_Apply");
    EXPECT_EQ(status(), "Save OK!");
    EXPECT_EQ(number(kWifiMode), 7);
    EXPECT_EQ(text(kDataRate), "36");
    EXPECT_EQ(number(kP + "2.1.3.2.1.1.21.1"), 50);
}

TEST_F(PerformancePage, ClientNeitherReadsNorWritesTheBeacon)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 4).ok());
    openPage();
    EXPECT_EQ(status(), "Get OK!");
    for (const char *locked : {"CB_WMode1", "CB_DRate", "CB_ShortGI", "CB_IGMPSnooping", "CB_Grouping"})
        EXPECT_FALSE(combo(locked)->isEnabled()) << locked;
    EXPECT_FALSE(edit("Ed_BeInta")->isEnabled());
    click("Bt_Apply");
    EXPECT_EQ(status(), "Save OK!");
    const std::string log = device.log();
    for (const std::string &oid : {kBeacon, kDtim})
        EXPECT_EQ(log.find(" " + oid + " -> "), std::string::npos) << oid;
    for (const std::string &oid : {kDataRate, kWifiMode, kShortGi, kUserLimit, kLoadBalance})
        EXPECT_EQ(setsOf(oid), 0) << oid;
    EXPECT_EQ(setsOf(kP + "2.1.3.2.1.1.21.1"), 1); // the ACK time-out is the client's too
}

TEST_F(PerformancePage, WdsKeepsTheConnectionLimit)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 3).ok());
    openPage();
    EXPECT_FALSE(combo("CB_Grouping")->isEnabled());
    EXPECT_FALSE(combo("CB_IGMPSnooping")->isEnabled());
    type("Ed_DTIMa", "3");
    click("Bt_Apply");
    EXPECT_EQ(number(kDtim), 3);
    EXPECT_EQ(setsOf(kUserLimit) + setsOf(kLoadBalance), 0);
}

// Refresh used the band before reading it again: a radio moved to 5 GHz
// got 2.4 GHz values written onto it.
TEST_F(PerformancePage, RefreshReadsTheBandBeforeUsingIt)
{
    const std::string band = kP + "2.1.3.2.1.1.24.1";
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    ASSERT_TRUE(combo("CB_WMode1")->isVisible());
    ASSERT_TRUE(client->setInt(band, 1).ok());
    ASSERT_TRUE(client->setInt(kWifiMode, 9).ok());
    click("Bt_Refresh");
    EXPECT_EQ(find<QLabel>("Label_Ack")->text(), "Ack Time Out (5GHz, 50~200)");
    EXPECT_TRUE(combo("CB_WMode2")->isVisible());
    EXPECT_FALSE(combo("CB_WMode1")->isVisible());
    EXPECT_EQ(combo("CB_WMode2")->currentText(), "Mixed 802.11n and 802.11a");
    type("Ed_AckTimeOut", "60");
    click("Bt_Apply");
    EXPECT_EQ(status(), "Save OK!");
    EXPECT_EQ(number(kWifiMode), 9);
    EXPECT_EQ(text(kDataRate), "0");
}

// What could not be read is not written: neither the radio mode nor the data
// rate and short GI that follow it, and after a silent opening nothing.
TEST_F(PerformancePage, UnreadRadioModeAndSilentOpeningWriteNothingOfThem)
{
    ASSERT_NO_FATAL_FAILURE(startMutableDevice({"--fail", kWifiMode + "=5"}));
    ASSERT_TRUE(client->setBytes(kDataRate, "18").ok());
    openPage();
    click("Bt_Apply");
    expectUnreadRefused("Wireless mode");
    EXPECT_EQ(status(), "Set Error!");
    EXPECT_EQ(setsOf(kWifiMode) + setsOf(kShortGi), 0);
    EXPECT_EQ(setsOf(kDataRate), 1); // the client's own
    EXPECT_EQ(text(kDataRate), "18");

    openWhileSilent();
    const size_t before = device.log().size();
    type("Ed_BeInta", "100"); // values typed over nothing read
    type("Ed_DTIMa", "1");
    type("Ed_AckTimeOut", "64");
    edit("Ed_ULimit")->setText("0");
    click("Bt_Apply");
    expectUnreadRefused("Performance");
    EXPECT_EQ(device.log().find("set ", before), std::string::npos);
}

} // namespace
