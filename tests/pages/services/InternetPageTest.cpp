// Home > Internet Connection against the simulated access point.
#include "ServicesPageFixture.h"
#include "TFM_InternetConnect.h"

#include "VrTimeScale.h"

#include <QFile>
#include <QRadioButton>

namespace {

using namespace svctest;
const std::string kType = P + "2.2.1.1.1.1.3.2";
const std::string kMtu = P + "2.2.1.1.1.1.4.2";
const std::string kPdns = P + "2.2.1.1.1.1.5.2";
const std::string kSdns = P + "2.2.1.1.1.1.6.2";
const std::string kWanIp = P + "2.2.1.1.1.1.7.2";
const std::string kWanGateway = P + "2.2.1.1.1.1.9.2";
std::string setting(int arc) { return P + "2.2.1.1.2.1." + std::to_string(arc) + ".1"; }

class InternetPage : public PageTest<TFM_InternetConnect>
{
protected:
    void TearDown() override { VrSetTimeScale(1.0); }
    void startRouter(long type = 1)
    {
        ASSERT_NO_FATAL_FAILURE(startDevice({"--lan", "192.168.0.1/24"}));
        ASSERT_TRUE(client->setInt(kType, type).ok());
    }
    void fillStatic(const QString &ip)
    {
        type("Edt_StaticIP", ip);
        type("Edt_StaticSubmask", "255.255.255.0");
        type("Edt_StaticGateway", "10.0.0.1");
        type("Edt_StaticPDNS", "10.0.0.2");
        type("Edt_StaticSDNS", "");
        type("Edt_StaticMTU", "1400");
    }
    bool shown(const char *group) { return find<QWidget>(group)->isVisible(); }
};

TEST_F(InternetPage, AStaticAddressInTheLanNetworkIsRefusedAndNothingIsWritten)
{
    ASSERT_NO_FATAL_FAILURE(startRouter());
    openPage();
    EXPECT_TRUE(shown("GB_Static"));
    EXPECT_FALSE(shown("GB_PPPoE"));
    EXPECT_EQ(edit("Edt_StaticMTU")->text(), "1500");
    fillStatic("192.168.0.50");
    click("Btn_Apply");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The LAN IP address and WAN IP addresses should  not be in the same network! ");
    EXPECT_EQ(boxes.calls()[0].caption, "Warning");
    EXPECT_EQ(allSets(), 1); // the type set up by the test
    expectFits();

    boxes.clear();
    fillStatic("10.0.0.5");
    click("Btn_Apply");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar1"), "Save OK!");
    EXPECT_EQ(address(kWanIp), "10.0.0.5");
    EXPECT_EQ(address(kWanGateway), "10.0.0.1");
    EXPECT_EQ(address(kPdns), "10.0.0.2");
    EXPECT_EQ(address(kSdns), "0.0.0.0");
    EXPECT_EQ(number(kMtu), 1400);
    EXPECT_EQ(edit("Edt_StaticSDNS")->text(), "");
}

TEST_F(InternetPage, StaticFieldsWithJunkOrAnMtuOutOfRangeAreRefused)
{
    ASSERT_NO_FATAL_FAILURE(startRouter());
    openPage();
    const struct {
        const char *field, *text, *message;
    } cases[] = {
        {"Edt_StaticIP", "10.0.0.x", "Please input valid static IP address"},
        {"Edt_StaticSubmask", "255.0.255.0", "Please input valid static SubMask."},
        {"Edt_StaticGateway", "0.0.0.0", "Please input valid static Gateway."},
        {"Edt_StaticGateway", "10.0.1.1", "The Gateway and Router addresses should be in the same network! "},
        {"Edt_StaticSDNS", "dns", "Please input valid static Secordary DNS."},
        {"Edt_StaticMTU", "", "Please input valid Static MTU."},
        {"Edt_StaticMTU", "abc", "Please input valid Static MTU."},
        {"Edt_StaticMTU", "199", "Please input valid Static MTU."},
        {"Edt_StaticMTU", "1501", "Please input valid Static MTU."},
    };
    for (const auto &c : cases) {
        boxes.clear();
        fillStatic("10.0.0.5");
        type(c.field, QString::fromLatin1(c.text));
        click("Btn_Apply");
        ASSERT_EQ(boxes.count(), 1) << c.field << " " << c.text;
        EXPECT_EQ(boxes.lastText(), c.message);
        EXPECT_EQ(edit(c.field)->text(), "") << c.field;
    }
    EXPECT_EQ(allSets(), 1);
}

TEST_F(InternetPage, AHostNameWithABlankOrAnAccentIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(startRouter(2));
    openPage();
    ASSERT_TRUE(shown("GB_Dynamic"));
    type("Edt_DyMTU", "1500");
    for (const QString &name : {QStringLiteral("my ap"), QStringLiteral("caf\u00e9")}) {
        boxes.clear();
        type("Edt_Dyhostname", "");
        edit("Edt_Dyhostname")->insert(name); // typed through the input method

        click("Btn_Apply");
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.lastText(), "Please input valid host name!");
    }
    EXPECT_EQ(setsOf(setting(1)), 0);
    boxes.clear();
    type("Edt_Dyhostname", "ap-5150.lab");
    click("Btn_Apply");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(result("StatusBar1"), "Save OK!");
    EXPECT_EQ(text(setting(1)), "ap-5150.lab");
    EXPECT_EQ(address(kPdns), "0.0.0.0");
}

TEST_F(InternetPage, PppoeTakesAnMtuOf1492ButNot1500AndKeepsItsPasswordOutOfTheStatus)
{
    ASSERT_NO_FATAL_FAILURE(startRouter(3));
    openPage();
    ASSERT_TRUE(shown("GB_PPPoE"));
    EXPECT_EQ(edit("Edt_PPPoEMTU")->text(), "1492");
    type("Edt_PPPoEUser", "alice");
    type("Edt_PPPoEPassword", "s3cret-pw");
    type("Edt_PPPoERetype", "s3cret-px");
    click("Btn_Apply");
    EXPECT_EQ(boxes.lastText(), "Please input the confirm password correctly!");
    EXPECT_EQ(edit("Edt_PPPoERetype")->text(), "");
    type("Edt_PPPoERetype", "s3cret-pw");
    type("Edt_PPPoEMTU", "1500");
    click("Btn_Apply");
    EXPECT_EQ(boxes.lastText(), "Please input valid PPPOE MTU.");
    EXPECT_EQ(setsOf(kMtu), 0);
    boxes.clear();
    type("Edt_PPPoEMTU", "1492");
    find<QRadioButton>("RB_Manual")->setChecked(true);
    click("Btn_Apply");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar1"), "Save OK!");
    EXPECT_EQ(number(kMtu), 1492);
    EXPECT_EQ(text(setting(3)), "alice");
    EXPECT_EQ(text(setting(4)), "s3cret-pw");
    EXPECT_EQ(number(setting(8)), 2);
    EXPECT_EQ(setsOf(kPdns), 0); // DNS from the ISP
    for (const QString &status : {result("StatusBar1"), find<VrStatusBar>("StatusBar1")->panel(1)->text()})
        EXPECT_FALSE(status.contains("s3cret")) << status.toStdString();

    // Manual connect mode: the connect buttons follow the line.
    ASSERT_TRUE(find<QPushButton>("Btn_Connect")->isVisible());
    EXPECT_TRUE(find<QPushButton>("Btn_Connect")->isEnabled());
    click("Btn_Connect");
    EXPECT_EQ(number(setting(17)), 1);
    EXPECT_FALSE(find<QPushButton>("Btn_Connect")->isEnabled());
    click("Btn_Disconnect");
    EXPECT_EQ(number(setting(17)), 2);
}

TEST_F(InternetPage, PptpChecksTheGatewayNetworkAndTheServerName)
{
    ASSERT_NO_FATAL_FAILURE(startRouter(4));
    ASSERT_TRUE(client->setInt(setting(9), 1).ok()); // static PPTP
    openPage();
    ASSERT_TRUE(shown("GB_PPTP"));
    type("Edt_PPTPIP", "10.1.1.5");
    type("Edt_PPTPSubmask", "255.255.255.0");
    type("Edt_PPTPGateway", "10.1.2.1");
    type("Edt_PPTPSever", "10.1.1.9"); // the server may be anywhere
    type("Edt_PPTPAccount", "bob");
    type("Edt_PPTPMTU", "1400");
    click("Btn_Apply");
    EXPECT_EQ(boxes.lastText(), "The Gateway and Router address should be the same network! ");
    type("Edt_PPTPGateway", "10.1.1.1");
    type("Edt_PPTPSever", "vpn server");
    click("Btn_Apply");
    EXPECT_EQ(boxes.lastText(), "Please input valid the host name!");
    EXPECT_EQ(edit("Edt_PPTPSever")->text(), "");
    EXPECT_EQ(setsOf(setting(14)), 0);
    boxes.clear();
    type("Edt_PPTPSever", "vpn.example");
    click("Btn_Apply");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(result("StatusBar1"), "Save OK!");
    EXPECT_EQ(text(setting(14)), "vpn.example");
    EXPECT_EQ(address(setting(12)), "10.1.1.1");
    EXPECT_EQ(address(setting(13)), "0.0.0.0");
}

TEST_F(InternetPage, EveryWayOutLeavesTheSavedTypeOnTheDevice)
{
    ASSERT_NO_FATAL_FAILURE(startRouter(2));
    const std::function<void(TFM_InternetConnect *)> ways[] = {
        [this](TFM_InternetConnect *) { click("Btn_Cancel"); },
        [](TFM_InternetConnect *p) { QTest::keyClick(p, Qt::Key_Escape); },
        [](TFM_InternetConnect *p) { p->close(); },
    };
    for (const auto &leave : ways) {
        openPage();
        choose("CB_Interconntypeshow", "PPPoE");
        EXPECT_EQ(number(kType), 3); // taken at once
        EXPECT_TRUE(shown("GB_PPPoE"));
        leave(page.get());
        EXPECT_FALSE(page->isVisible());
        EXPECT_EQ(number(kType), 2);
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(InternetPage, AFailedWriteBackIsReported)
{
    QTemporaryDir dir;
    const std::string mute = dir.filePath("mute").toStdString();
    ASSERT_NO_FATAL_FAILURE(startDevice({"--mute-file", mute}));
    VrSetTimeScale(0.01);
    openPage();
    choose("CB_Interconntypeshow", "PPTP");
    EXPECT_EQ(number(kType), 4);
    QFile(QString::fromStdString(mute)).open(QIODevice::WriteOnly);
    click("Btn_Cancel");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.lastText().startsWith("The saved Internet connection type could not be set back"));
    EXPECT_EQ(boxes.calls()[0].caption, "Error");
}

} // namespace
