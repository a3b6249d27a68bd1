// The WLAN partition page against the simulated access point.
#include "DevicePageFixture.h"
#include "TFM_WLANPart.h"

namespace {

const std::string kStations = kP + "2.1.3.3.3.1.1.1.1";
const std::string kWlanAccess = kP + "2.1.3.3.3.1.1.2.1";
const std::string kLink = kP + "3.3.2.1.1.3.1";
const std::string kApMode = kP + "2.1.3.2.1.1.18.1";
const char *const kArp = "AP will block all Address Resolution Protocol (ARP) packets from Ethernet to Wireless, "
                         "when Ethernet to WLAN Access function is set to disable!";

using WlanPartitionPage = DevicePage<TFM_WLANPart>;

TEST_F(WlanPartitionPage, SavesTheSwitchesAndWarnsAboutArpEachTime)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kWlanAccess, 1).ok());
    openPage();
    EXPECT_FALSE(combo("CB_WBand")->isEnabled());
    EXPECT_EQ(combo("CB_WBand")->currentText(), "2.4GHz");
    EXPECT_EQ(combo("CB_WLANAccess")->currentText(), "Enable");
    expectFitsScreen();

    choose("CB_WLANAccess", "Disable");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), kArp);
    EXPECT_EQ(boxes.calls()[0].caption, "Warning");
    choose("CB_WLANAccess", "Enable");
    choose("CB_WLANAccess", "Disable");
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(combo("CB_WLANAccess")->currentText(), "Disable"); // the choice stands
    choose("CB_StationConnection", "Enable");
    choose("CB_Connect", "Enable");
    click("Btn_Apply");
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kWlanAccess), 0);
    EXPECT_EQ(number(kStations), 1);
    EXPECT_EQ(number(kLink), 1);
    EXPECT_LT(firstSet(kStations), firstSet(kLink));

    ASSERT_TRUE(client->setInt(kLink, 0).ok());
    click("Btn_Refresh");
    EXPECT_EQ(status(), "Refresh Ok!");
    EXPECT_EQ(combo("CB_Connect")->currentText(), "Disable");
}

TEST_F(WlanPartitionPage, ClientCannotChangeTheSwitches)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 4).ok());
    openPage();
    for (const char *locked : {"CB_StationConnection", "CB_WLANAccess", "CB_Connect"})
        EXPECT_FALSE(combo(locked)->isEnabled()) << locked;
}

TEST_F(WlanPartitionPage, RefusedWriteIsReported)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", kLink + "=5"}));
    openPage();
    click("Btn_Apply");
    EXPECT_EQ(status(), "Setting Error!");
    click("Btn_Refresh");
    EXPECT_NE(status(), "Refresh Ok!");
}

// Saving what was never read wrote all three switches as "Disable", which
// cuts the wired side off the stations.
TEST_F(WlanPartitionPage, SaveAfterASilentOpeningWritesNothingUntilRead)
{
    ASSERT_NO_FATAL_FAILURE(startMutableDevice());
    ASSERT_EQ(number(kWlanAccess), 1);
    openWhileSilent();
    click("Btn_Apply");
    expectUnreadRefused("WLAN partition");
    EXPECT_EQ(status(), "Setting Error!");
    for (const std::string &oid : {kStations, kWlanAccess, kLink})
        EXPECT_EQ(setsOf(oid), 0) << oid;
    EXPECT_EQ(number(kWlanAccess), 1);

    click("Btn_Refresh");
    EXPECT_EQ(status(), "Refresh Ok!");
    click("Btn_Apply");
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kWlanAccess), 1);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(WlanPartitionPage, AReadErrorShowsWholeAndItsGroupIsNotSaved)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", kStations + "=5"}));
    openPage();
    expectFitsScreen();
    const QString line = status();
    ASSERT_TRUE(line.contains("General Error")) << line.toStdString();
    auto *bar = find<VrStatusBar>("StatusBar1");
    EXPECT_GE(bar->width(), bar->fontMetrics().horizontalAdvance(line) + 12) << line.toStdString();

    click("Btn_Apply");
    expectUnreadRefused("WLAN partition");
    EXPECT_EQ(setsOf(kStations), 0);
    EXPECT_EQ(setsOf(kWlanAccess), 0);
}

} // namespace
