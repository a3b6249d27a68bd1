// Advanced > VLAN against the simulated access point.
#include "NetworkPageFixture.h"
#include "TFM_VlanSetting.h"

#include <QRadioButton>
#include <QTabWidget>

namespace {

using namespace nettest;
const std::string kApMode = P + "2.1.3.2.1.1.18.1";
const std::string kStatus = P + "3.3.5.1.1";
const std::string kVid = P + "3.3.5.1.3.1.2.";
const std::string kName = P + "3.3.5.1.3.1.3.";
const std::string kMgmt = P + "3.3.5.1.3.1.4.";
const std::string kLan = P + "3.3.5.1.3.1.5.";
const std::string kPrimary = P + "3.3.5.1.3.1.6.";
const std::string kPvidLan = P + "3.3.5.2.2.1.3.1";
constexpr int kDeviceVlanRows = 16;

class VlanPage : public PageTest<TFM_VlanSetting>
{
protected:
    void openAndWait()
    {
        openPage();
        ASSERT_TRUE(waitFor([this] { return !page->Busy(); }));
    }
    void waitIdle() { ASSERT_TRUE(waitFor([this] { return !page->Busy(); })); }
    void addVlan(const QString &vid, const QString &name)
    {
        find<QTabWidget>("PageControl1")->setCurrentIndex(2);
        type("Ed_VlanID", vid);
        type("Ed_VlanName", name);
        click("AddButton");
        waitIdle();
    }
    // VLANs the device holds before the page opens.
    void putVlan(int row, long vid, const std::string &name)
    {
        ASSERT_TRUE(client->setInt(kVid + std::to_string(row), vid).ok());
        ASSERT_TRUE(client->setBytes(kName + std::to_string(row), name).ok());
    }
    QRadioButton *rb(const char *name) { return find<QRadioButton>(name); }
};

TEST_F(VlanPage, OpensWithThePortSkeletonAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ VLAN Settings");
    EXPECT_EQ(combo("CB_VlanStatus")->currentText(), "Disable");
    EXPECT_EQ(find<QLabel>("LB_VlanMode")->text(), "Static");
    EXPECT_FALSE(find<QPushButton>("Btn_VlanEdit")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Btn_VlanDelete")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("AddButton")->isEnabled()); // VLAN off
    const QStringList ports = column("LV_PortListUser", 0);
    ASSERT_EQ(ports.size(), 10);
    EXPECT_EQ(ports[0], "Mgmt");
    EXPECT_EQ(ports[2], "QRT5150"); // the primary SSID
    EXPECT_EQ(ports[9], "W-4");
    EXPECT_EQ(column("LV_PortListUser", 3)[1], "1"); // the LAN's PVID
    EXPECT_TRUE(rb("RB_PortMgmtUntag")->isChecked());
    EXPECT_FALSE(rb("RB_MssidS4Untag")->isVisible());
    EXPECT_EQ(boxes.count(), 0);
    expectFits();
    find<QTabWidget>("PageControl1")->setCurrentIndex(2);
    expectFits();
}

TEST_F(VlanPage, AVlanWithoutMembersIsListedWithEmptyPortColumns)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    choose("CB_VlanStatus", "Enable");
    find<QTabWidget>("PageControl1")->setCurrentIndex(2);
    for (const char *all : {"Bt_AllPortNot", "Bt_AllMssidNot", "Bt_AllWdsNot"})
        click(all);
    addVlan("10", "guests");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(number(kVid + "1"), 10);
    EXPECT_EQ(text(kName + "1"), "guests");
    EXPECT_EQ(number(kMgmt + "1"), 0);
    ASSERT_EQ(column("LV_VlanListUser", 0), QStringList{"10"});
    EXPECT_EQ(column("LV_VlanListUser", 2), QStringList{""});
    EXPECT_EQ(column("LV_VlanListUser", 3), QStringList{""});
    EXPECT_EQ(result("StatusBar1"), "Get OK!");
}

TEST_F(VlanPage, AListedVidAndVidsOutOfRangeAreRefused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    putVlan(1, 20, "staff");
    ASSERT_TRUE(client->setInt(kStatus, 1).ok());
    openAndWait();
    ASSERT_EQ(column("LV_VlanListUser", 0), QStringList{"20"});
    addVlan("20", "again");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "There is an existent entry with the same VID.\nPlease change the VID.");
    // The field's own filter or Save's check: either way a message, and nothing sent.
    for (const char *vid : {"0", "4095", ""}) {
        SCOPED_TRACE(vid);
        boxes.clear();
        find<QTabWidget>("PageControl1")->setCurrentIndex(2);
        edit("Ed_VlanID")->setText(vid);
        click("AddButton");
        waitIdle();
        EXPECT_GE(boxes.count(), 1);
    }
    EXPECT_EQ(boxes.lastText(), "The VID value range is 1~4094.");
    EXPECT_EQ(number(kVid + "2"), 0);
    EXPECT_EQ(setsOf(kVid + "2"), 0);
}

TEST_F(VlanPage, AFullTableIsRefusedAndNoVlanIsOverwritten)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    for (int row = 1; row <= kDeviceVlanRows; ++row)
        ASSERT_NO_FATAL_FAILURE(putVlan(row, 100 + row, "v" + std::to_string(row)));
    ASSERT_TRUE(client->setInt(kStatus, 1).ok());
    openAndWait();
    ASSERT_EQ(list("LV_VlanListUser")->topLevelItemCount(), kDeviceVlanRows);
    const int before = allSets();
    addVlan("99", "one too many");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The VLAN table is full. Delete a VLAN before adding another.");
    EXPECT_EQ(allSets(), before);
    for (int row = 1; row <= kDeviceVlanRows; ++row)
        EXPECT_EQ(number(kVid + std::to_string(row)), 100 + row);
}

// The device's free rows count, not a fixed number of listed VLANs: with 14
// listed, the 15th and 16th go in (after switching VLAN on, and after a read).
TEST_F(VlanPage, EveryFreeRowOfTheDeviceTakesAVlan)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    for (int row = 1; row <= 14; ++row)
        ASSERT_NO_FATAL_FAILURE(putVlan(row, 100 + row, "v" + std::to_string(row)));
    openAndWait();
    choose("CB_VlanStatus", "Enable");
    addVlan("115", "fifteen");
    addVlan("116", "sixteen");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(number(kVid + "15"), 115);
    EXPECT_EQ(text(kName + "15"), "fifteen");
    EXPECT_EQ(number(kVid + "16"), 116);
    EXPECT_EQ(number(kVid + "14"), 114);
    EXPECT_EQ(list("LV_VlanListUser")->topLevelItemCount(), kDeviceVlanRows);
}

TEST_F(VlanPage, EditWritesTheSelectedVlanAndNeverTagsMultiSsidPorts)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    putVlan(3, 30, "office");
    ASSERT_TRUE(client->setInt(kLan + "3", 1).ok()); // LAN tagged
    ASSERT_TRUE(client->setInt(kStatus, 1).ok());
    openAndWait();
    list("LV_VlanListUser")->topLevelItem(0)->setSelected(true);
    EXPECT_TRUE(find<QPushButton>("Btn_VlanEdit")->isEnabled());
    click("Btn_VlanEdit");
    EXPECT_EQ(edit("Ed_VlanID")->text(), "30");
    EXPECT_FALSE(edit("Ed_VlanID")->isEnabled());
    EXPECT_TRUE(rb("RB_PortLanTag")->isChecked());
    EXPECT_TRUE(rb("RB_PortMgmtNot")->isChecked());
    for (const char *tag : {"RB_MssidPrimaryTag", "RB_MssidS1Tag", "RB_MssidS3Tag"})
        EXPECT_FALSE(rb(tag)->isEnabled()) << tag;
    EXPECT_FALSE(find<QPushButton>("Bt_AllMssidTag")->isEnabled());
    EXPECT_TRUE(rb("RB_PortMgmtTag")->isEnabled());
    type("Ed_VlanName", "back office");
    rb("RB_PortMgmtUntag")->click();
    rb("RB_MssidPrimaryUntag")->click();
    click("AddButton");
    waitIdle();
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(kName + "3"), "back office");
    EXPECT_EQ(number(kVid + "3"), 30);
    EXPECT_EQ(number(kMgmt + "3"), 2);
    EXPECT_EQ(number(kPrimary + "3"), 2);
    EXPECT_EQ(number(kVid + "1"), 0); // no second VLAN
    EXPECT_EQ(column("LV_VlanListUser", 2), QStringList{"Mgmt,Primary"});
    EXPECT_EQ(column("LV_VlanListUser", 3), QStringList{"LAN"});

    // After the edit the form adds again.
    EXPECT_TRUE(edit("Ed_VlanID")->isEnabled());
    EXPECT_TRUE(rb("RB_MssidS1Tag")->isEnabled());
    addVlan("31", "annex");
    EXPECT_EQ(number(kVid + "1"), 31);
    EXPECT_EQ(number(kVid + "3"), 30);
}

TEST_F(VlanPage, DeleteAsksByNameAndFreesTheRow)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    putVlan(2, 40, "lab");
    ASSERT_TRUE(client->setInt(kStatus, 1).ok());
    openAndWait();
    list("LV_VlanListUser")->topLevelItem(0)->setSelected(true);
    click("Btn_VlanDelete");
    waitIdle();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Are you sure you want to delete lab?");
    EXPECT_EQ(number(kVid + "2"), 0);
    EXPECT_EQ(list("LV_VlanListUser")->topLevelItemCount(), 0);
}

TEST_F(VlanPage, PortListShowsTheVlansOfEachPort)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    putVlan(1, 50, "a");
    putVlan(2, 60, "b");
    ASSERT_TRUE(client->setInt(kLan + "1", 2).ok());
    ASSERT_TRUE(client->setInt(kLan + "2", 1).ok());
    openAndWait();
    find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    waitIdle();
    EXPECT_EQ(column("LV_PortListUser", 1)[1], "60"); // LAN tagged
    EXPECT_EQ(column("LV_PortListUser", 2)[1], "50"); // LAN untagged
    EXPECT_EQ(column("LV_PortListUser", 1)[0], "");
}

TEST_F(VlanPage, PvidsOutsideTheRangeAreRefused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    choose("CB_VlanStatus", "Enable");
    ASSERT_TRUE(edit("Ed_PvidLan")->isEnabled());
    const int before = allSets();
    for (const char *pvid : {"4095", "0"}) {
        SCOPED_TRACE(pvid);
        boxes.clear();
        edit("Ed_PvidLan")->setText(pvid);
        click("Btn_PvidApply");
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.lastText(), "The VID value range is 1~4094.");
        EXPECT_EQ(edit("Ed_PvidLan")->text(), "1");
    }
    EXPECT_EQ(allSets(), before);
    boxes.clear();
    type("Ed_PvidLan", "4094");
    click("Btn_PvidApply");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(result("StatusBar1"), "Set OK!");
    EXPECT_EQ(number(kPvidLan), 4094);
    EXPECT_EQ(number(kStatus), 1);
}

TEST_F(VlanPage, TheApModeWarningComesOnce)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 3).ok());
    openAndWait();
    EXPECT_EQ(boxes.count(), 0);
    choose("CB_VlanStatus", "Enable");
    choose("CB_VlanStatus", "Disable");
    choose("CB_VlanStatus", "Enable");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "If you enable VLAN,AP Mode is set to access point.");
    click("Btn_VlanApply");
    waitIdle();
    EXPECT_TRUE(waitFor([this] { return result("StatusBar1") == "Set OK!"; }));
    EXPECT_EQ(number(kStatus), 1);
}

} // namespace
