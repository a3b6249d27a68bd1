// Advanced > DHCP Server against the simulated access point.
#include "NetworkPageFixture.h"
#include "TFM_DHCP.h"
#include "VrWaitGuard.h"

#include <QElapsedTimer>
#include <csignal>

namespace {

using namespace nettest;
using qrt::test::macBytes;
const std::string kApMode = P + "2.1.3.2.1.1.18.1";
const std::string kServer = P + "3.3.1.1";
const std::string kPoolStart = P + "3.3.1.2.2.1.2.1";
const std::string kPoolEnd = P + "3.3.1.2.2.1.3.1";
const std::string kWins = P + "3.3.1.2.2.1.6.1";
const std::string kDns = P + "3.3.1.2.2.1.7.1";
const std::string kStaticHost = P + "3.3.1.3.3.1.3.";
const std::string kStaticIp = P + "3.3.1.3.3.1.4.";
const std::string kStaticMac = P + "3.3.1.3.3.1.5.";

class DhcpPage : public PageTest<TFM_DHCP>
{
protected:
    void openAndWait()
    {
        openPage();
        ASSERT_TRUE(waitFor([this] { return !page->StaticBusy(); }));
    }
    void enableServer()
    {
        choose("CB_Fuction1", "Enable");
    }
    void fillLease(const QString &ip, const QString &mac, const QString &host)
    {
        type("ED_StaticAssignIP", ip);
        type("ED_StaticAssignMAC", mac);
        type("ED_StaticHostName", host);
    }
    void saveLease()
    {
        click("Btn_Add");
        waitFor([this] { return !page->StaticBusy() && find<QPushButton>("Btn_Add")->isEnabled(); });
    }
};

TEST_F(DhcpPage, OpensWithThePoolAsACountAndStaysOpenUntilTheLeasesAreRead)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--delay-ms", "30"}));
    openPage();
    EXPECT_TRUE(page->StaticBusy());
    page->close();
    EXPECT_TRUE(page->isVisible()); // the static leases are still being read
    ASSERT_TRUE(waitFor([this] { return !page->StaticBusy(); }));
    EXPECT_EQ(edit("Ed_IPAF")->text(), "192.168.0.100");
    EXPECT_EQ(edit("Ed_PoolRan")->text(), "100");
    EXPECT_EQ(edit("Ed_Gateway")->text(), ""); // read as 0.0.0.0
    EXPECT_EQ(combo("CB_Fuction1")->currentText(), "Disable");
    EXPECT_FALSE(edit("Ed_IPAF")->isEnabled());
    EXPECT_EQ(result("StatusBar2"), "Get OK!");
    expectFits();
    page->close();
    EXPECT_FALSE(page->isVisible());
}

// The page stays open while its leases are read, but says what it waits
// for and offers a Cancel: when the device has fallen silent, the user gets
// it closed at once, the read cancelled and nothing more sent.
TEST_F(DhcpPage, ASilentDeviceDoesNotHoldThePageWhileItsLeasesAreRead)
{
    VrWaitGuard::Install();
    ASSERT_NO_FATAL_FAILURE(startDevice({"--delay-ms", "100"}));
    openPage();
    ::kill(device.pid(), SIGUSR1); // the walk's next step goes unanswered
    QTest::qWait(300);
    ASSERT_TRUE(page->StaticBusy());
    QTest::keyClick(page.get(), Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(waitFor([this] { return page->findChild<QPushButton *>("WaitNoticeCancel") != nullptr; }, 1000));
    QElapsedTimer clock;
    clock.start();
    click("WaitNoticeCancel");
    ASSERT_TRUE(waitFor([this] { return !page->isVisible(); }, 1000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(page->StaticBusy());
    const size_t logAtClose = device.log().size();
    QTest::qWait(2500); // the read's time-out and its retry
    EXPECT_EQ(device.log().find("request dropped", logAtClose), std::string::npos);
}

TEST_F(DhcpPage, PoolFromTwoHundredTakesFiftyFiveButNotFiftySix)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    enableServer();
    EXPECT_TRUE(edit("Ed_IPAF")->isEnabled());
    EXPECT_EQ(combo("CB_Fuction2")->currentText(), "Enable"); // kept in step
    type("Ed_IPAF", "192.168.0.200");
    type("Ed_PoolRan", "56");
    type("Ed_Gateway", "192.168.0.1");
    click("Bt_Apply");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Invaild IP range!");
    EXPECT_EQ(boxes.calls()[0].caption, "Error");
    EXPECT_EQ(edit("Ed_PoolRan")->text(), "");
    EXPECT_EQ(setsOf(kPoolEnd), 0);

    boxes.clear();
    type("Ed_PoolRan", "55");
    click("Bt_Apply");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar1"), "Setting Success!");
    EXPECT_EQ(number(kServer), 1);
    EXPECT_EQ(address(kPoolStart), "192.168.0.200");
    EXPECT_EQ(address(kPoolEnd), "192.168.0.254");
    EXPECT_EQ(edit("Ed_PoolRan")->text(), "55"); // read back as a count
}

TEST_F(DhcpPage, InvalidWinsIsDroppedAndTheSaveGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    enableServer();
    type("Ed_Gateway", "192.168.0.1");
    type("Ed_Wins", "192.168.0.300");
    type("Ed_DNS", "");
    click("Bt_Apply");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Invalid WINS!");
    EXPECT_EQ(boxes.calls()[0].caption, "Waring");
    EXPECT_EQ(result("StatusBar1"), "Setting Success!");
    EXPECT_EQ(address(kWins), "0.0.0.0");
    EXPECT_EQ(address(kDns), "0.0.0.0");
    EXPECT_EQ(number(kServer), 1);
}

TEST_F(DhcpPage, APoolTheDeviceRefusesIsReportedAndThePageStaysUsable)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", kPoolEnd + "=10"}));
    openAndWait();
    EXPECT_EQ(result("StatusBar1"), "Setting Error!");
    enableServer();
    type("Ed_IPAF", "192.168.0.10");
    type("Ed_PoolRan", "20");
    type("Ed_SubMask", "255.255.255.0");
    type("Ed_Gateway", "192.168.0.1");
    type("Ed_Lease", "600");
    click("Bt_Apply");
    // The pool could not be read either: it is not written, and the box says why.
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.lastText().contains("\"DHCP pool\" could not be read")) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar1"), "Setting Error!");
    EXPECT_FALSE(find<VrStatusBar>("StatusBar1")->panel(1)->text().isEmpty());
    EXPECT_EQ(address(kPoolStart), "192.168.0.100");
    EXPECT_TRUE(find<QPushButton>("Bt_Apply")->isEnabled());
}

TEST_F(DhcpPage, WirelessClientFixesBothSwitchesAtDisable)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kServer, 1).ok());
    ASSERT_TRUE(client->setInt(kApMode, 4).ok());
    openAndWait();
    EXPECT_EQ(combo("CB_Fuction1")->currentText(), "Disable");
    EXPECT_EQ(combo("CB_Fuction2")->currentText(), "Disable");
    EXPECT_FALSE(combo("CB_Fuction1")->isEnabled());
    EXPECT_FALSE(combo("CB_Fuction2")->isEnabled());
    EXPECT_FALSE(edit("ED_StaticAssignIP")->isEnabled());
}

// A router hands out its own WINS and DNS: the fields stay locked, and an unset one shows empty.
TEST_F(DhcpPage, RouterLocksWinsAndDns)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 5).ok());
    ASSERT_TRUE(client->setIp(kDns, "192.168.0.53").ok());
    openAndWait();
    enableServer();
    EXPECT_TRUE(edit("Ed_IPAF")->isEnabled());
    EXPECT_FALSE(edit("Ed_Wins")->isEnabled());
    EXPECT_FALSE(edit("Ed_DNS")->isEnabled());
    EXPECT_EQ(edit("Ed_Wins")->text(), ""); // read as 0.0.0.0
    EXPECT_EQ(edit("Ed_DNS")->text(), "192.168.0.53");
    type("Ed_Gateway", "192.168.0.1");
    click("Bt_Apply");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar1"), "Setting Success!");
    EXPECT_EQ(number(kServer), 1);
    EXPECT_EQ(address(kDns), "192.168.0.53");
    EXPECT_EQ(address(kWins), "0.0.0.0");
    EXPECT_EQ(number(kApMode), 5);
}

// The opening reads go out together on a slow link, yet their answers are
// applied in the page's order: the router mode read first decides how the
// pool is shown, the server switch sets the static one, and the lease form
// starts from the pool it follows.
TEST_F(DhcpPage, ReadsSentTogetherAreShownInTheirOrder)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--delay-ms", "20"}));
    ASSERT_TRUE(client->setInt(kApMode, 5).ok());
    ASSERT_TRUE(client->setInt(kServer, 1).ok());
    ASSERT_TRUE(client->setIp(kDns, "192.168.0.53").ok());
    ASSERT_TRUE(client->setIp(kStaticIp + "2", "192.168.0.20").ok());
    ASSERT_TRUE(client->setBytes(kStaticMac + "2", macBytes("00112233AABB")).ok());
    openAndWait();
    EXPECT_EQ(combo("CB_APMode")->currentText(), "Router");
    EXPECT_EQ(edit("Ed_Wins")->text(), ""); // 0.0.0.0, shown empty by a router only
    EXPECT_EQ(edit("Ed_DNS")->text(), "192.168.0.53");
    EXPECT_EQ(combo("CB_Fuction2")->currentText(), "Enable");
    EXPECT_EQ(edit("ED_StaticDNS")->text(), "192.168.0.53");
    EXPECT_EQ(edit("ED_StaticWins")->text(), "");
    EXPECT_TRUE(edit("ED_StaticAssignIP")->isEnabled());
    EXPECT_EQ(column("User_ListView", 1), QStringList{"192.168.0.20"});
    EXPECT_EQ(result("StatusBar1"), "Get OK!");
    EXPECT_EQ(result("StatusBar2"), "Get OK!");
}

TEST_F(DhcpPage, DuplicateMacIsRefusedWhenAddingButTheLeaseCanBeEdited)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    page->findChild<QTabWidget *>("PageControl1")->setCurrentIndex(1);
    choose("CB_Fuction2", "Enable");
    fillLease("192.168.0.20", "00112233AABB", "printer");
    saveLease();
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar1"), "Setting Success!");
    EXPECT_EQ(address(kStaticIp + "1"), "192.168.0.20");
    EXPECT_EQ(text(kStaticMac + "1"), macBytes("00112233AABB"));
    ASSERT_EQ(column("User_ListView", 0), QStringList{"00112233AABB"});

    fillLease("192.168.0.21", "00112233AABB", "scanner");
    saveLease();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Reject: The MAC has already existed in IP Static pool.");
    EXPECT_EQ(address(kStaticIp + "2"), "0.0.0.0");

    boxes.clear();
    list("User_ListView")->topLevelItem(0)->setSelected(true);
    EXPECT_TRUE(find<QPushButton>("Btn_Del")->isEnabled());
    EXPECT_EQ(edit("ED_StaticHostName")->text(), "printer");
    type("ED_StaticHostName", "laser");
    saveLease();
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(kStaticHost + "1"), "laser");
    EXPECT_EQ(address(kStaticIp + "2"), "0.0.0.0"); // edited in place
    EXPECT_EQ(column("User_ListView", 2), QStringList{"laser"});
}

TEST_F(DhcpPage, AnAddressAlreadyLeasedIsRefusedBeforeAnythingIsWritten)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setIp(kStaticIp + "2", "192.168.0.20").ok());
    ASSERT_TRUE(client->setBytes(kStaticMac + "2", macBytes("00112233AABB")).ok());
    openAndWait();
    choose("CB_Fuction2", "Enable");
    const int before = allSets();
    fillLease("192.168.0.20", "00112233CCDD", "scanner");
    saveLease();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Reject: The IP has already existed in IP Static pool.");
    EXPECT_EQ(boxes.calls()[0].caption, "Warning");
    EXPECT_EQ(allSets(), before);
    EXPECT_EQ(address(kStaticIp + "1"), "0.0.0.0");
    EXPECT_TRUE(edit("ED_StaticAssignIP")->isEnabled());
    EXPECT_TRUE(edit("ED_StaticAssignIP")->hasFocus());
    EXPECT_EQ(column("User_ListView", 1), QStringList{"192.168.0.20"});
}

TEST_F(DhcpPage, DeleteAsksAndFreesTheRow)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setIp(kStaticIp + "3", "192.168.0.33").ok());
    ASSERT_TRUE(client->setBytes(kStaticMac + "3", macBytes("0011223344CC")).ok());
    openAndWait();
    choose("CB_Fuction2", "Enable");
    ASSERT_EQ(column("User_ListView", 1), QStringList{"192.168.0.33"});
    list("User_ListView")->topLevelItem(0)->setSelected(true);
    boxes.setAnswer(QMessageBox::Cancel);
    click("Btn_Del");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Are you sure that you want to delete this entry?");
    EXPECT_EQ(address(kStaticIp + "3"), "192.168.0.33");
    boxes.setAnswer(QMessageBox::Ok);
    click("Btn_Del");
    ASSERT_TRUE(waitFor([this] { return list("User_ListView")->topLevelItemCount() == 0 && !page->StaticBusy(); }));
    EXPECT_EQ(address(kStaticIp + "3"), "0.0.0.0");
}

TEST_F(DhcpPage, RefreshFillsTheCurrentLists)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "2"}));
    openAndWait();
    EXPECT_EQ(list("LV_DynPool")->topLevelItemCount(), 0);
    click("Bt_RefreshDynamicPool");
    ASSERT_TRUE(waitFor([this] { return list("LV_DynPool")->topLevelItemCount() == 2; }));
    EXPECT_EQ(list("LV_DynPool")->columnCount(), 4);
    EXPECT_EQ(list("LV_DynPool")->topLevelItem(0)->text(0).size(), 12); // the MAC first
    EXPECT_TRUE(waitFor([this] { return result("StatusBar3") == "Get OK"; }));
}

} // namespace
