// Home > LAN against the simulated access point.
#include "NetworkPageFixture.h"
#include "TFM_LanCfg.h"

namespace {

using namespace nettest;
const std::string kIpType = P + "2.2.1.1.1.1.3.1";
const std::string kLanIp = P + "2.2.1.1.1.1.7.1";
const std::string kLanMask = P + "2.2.1.1.1.1.8.1";
const std::string kLanGateway = P + "2.2.1.1.1.1.9.1";
const std::string kWanIp = P + "2.2.1.1.1.1.7.2";
const std::string kWanMask = P + "2.2.1.1.1.1.8.2";
const std::string kApMode = P + "2.1.3.2.1.1.18.1";

class LanPage : public PageTest<TFM_LanCfg>
{
};

TEST_F(LanPage, OpensWithTheDeviceAddressAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--lan", "192.168.0.50/24"}));
    openPage();
    EXPECT_EQ(page->windowTitle(), "Home \\ LAN");
    EXPECT_EQ(combo("CB_IPFrom")->currentText(), "Static (Manual)");
    EXPECT_EQ(edit("ED_IpAddr")->text(), "192.168.0.50");
    EXPECT_EQ(edit("ED_SubMask")->text(), "255.255.255.0");
    EXPECT_EQ(edit("ED_DefGw")->text(), ""); // read as 0.0.0.0
    EXPECT_TRUE(combo("CB_IPFrom")->isEnabled());
    EXPECT_EQ(boxes.count(), 0);
    expectFits();
}

TEST_F(LanPage, DhcpHidesTheAddressesAndSendsOnlyTheType)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_IPFrom", "Dynamic (DHCP)");
    EXPECT_FALSE(edit("ED_IpAddr")->isVisible());
    EXPECT_FALSE(edit("ED_DefGw")->isVisible());
    edit("ED_IpAddr")->setText("not an address"); // hidden, so never checked nor sent
    click("BT_LanCfgOk");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(result("StatusBar"), "Set OK!");
    EXPECT_EQ(number(kIpType), 2);
    EXPECT_EQ(allSets(), 1);
    EXPECT_EQ(setsOf(kIpType), 1);
    expectFits();
}

TEST_F(LanPage, StaticWithoutGatewaySendsZerosAndShowsItEmpty)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    type("ED_IpAddr", "10.1.2.3");
    type("ED_SubMask", "255.255.0.0");
    type("ED_DefGw", "");
    click("BT_LanCfgOk");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar"), "Set OK!");
    EXPECT_EQ(address(kLanIp), "10.1.2.3");
    EXPECT_EQ(address(kLanMask), "255.255.0.0");
    EXPECT_EQ(address(kLanGateway), "0.0.0.0");
    EXPECT_EQ(setsOf(kLanGateway), 1);
    EXPECT_EQ(edit("ED_DefGw")->text(), "");
    EXPECT_EQ(edit("ED_IpAddr")->text(), "10.1.2.3");
}

// Each refused input: its message, its caption, and nothing written.
TEST_F(LanPage, BadAddressesAreRefusedBeforeAnythingIsWritten)
{
    struct Case {
        const char *address, *mask, *gateway, *text, *caption, *field;
    };
    const Case cases[] = {
        {"010.1.2.3", "255.255.255.0", "", "Please input valid IP Address.", "Warning", "ED_IpAddr"},
        {"192.168.1.255", "255.255.255.0", "", "Please input valid IP Address.", "Warning", "ED_IpAddr"},
        {"192.168.1.2", "255.0.255.0", "", "Please input valid Subnet Mask.", "Warning", "ED_SubMask"},
        {"192.168.1.2", "255.255.255.0", "0.0.0.0", "Please input valid Gateway.", "Waring", "ED_DefGw"},
        {"192.168.1.2", "255.255.255.0", "192.168.1.x", "Please input valid Gateway.", "Waring", "ED_DefGw"},
    };
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        boxes.clear();
        type("ED_IpAddr", c.address);
        type("ED_SubMask", c.mask);
        type("ED_DefGw", c.gateway);
        click("BT_LanCfgOk");
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.calls()[0].text, c.text);
        EXPECT_EQ(boxes.calls()[0].caption, c.caption);
        EXPECT_EQ(edit(c.field)->text(), "");
    }
    EXPECT_EQ(allSets(), 0);
}

TEST_F(LanPage, ARefusedWriteIsReportedAndChangesNothing)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", kLanGateway + "=17"}));
    openPage();
    type("ED_IpAddr", "10.9.9.9");
    type("ED_SubMask", "255.0.0.0");
    click("BT_LanCfgOk");
    EXPECT_EQ(result("StatusBar"), "Set Error!");
    EXPECT_FALSE(find<VrStatusBar>("StatusBar")->panel(1)->text().isEmpty());
    EXPECT_EQ(setsOf(kLanIp), 0);
    EXPECT_NE(address(kLanIp), "10.9.9.9");
    EXPECT_TRUE(find<QPushButton>("BT_LanCfgOk")->isEnabled());
}

// A router (mode 5) keeps its LAN out of the WAN's network and chooses its IP source itself.
TEST_F(LanPage, RouterRefusesALanAddressInTheWanNetwork)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 5).ok());
    ASSERT_TRUE(client->setIp(kWanIp, "10.20.30.2").ok());
    ASSERT_TRUE(client->setIp(kWanMask, "255.255.255.0").ok());
    const int before = allSets();
    openPage();
    EXPECT_FALSE(combo("CB_IPFrom")->isEnabled());
    type("ED_IpAddr", "10.20.30.40");
    type("ED_SubMask", "255.255.255.0");
    click("BT_LanCfgOk");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The LAN IP address and WAN IP address should  not be the same network! ");
    EXPECT_EQ(boxes.calls()[0].caption, "Warning");
    EXPECT_EQ(allSets(), before);
    EXPECT_NE(address(kLanIp), "10.20.30.40");

    type("ED_IpAddr", "10.20.31.40");
    click("BT_LanCfgOk");
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(result("StatusBar"), "Set OK!");
    EXPECT_EQ(address(kLanIp), "10.20.31.40");
    EXPECT_EQ(number(kApMode), 5);
}

} // namespace
