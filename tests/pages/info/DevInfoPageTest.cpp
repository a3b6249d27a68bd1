// Status, Device Information against the simulated access point.
#include "AgentFixture.h"
#include "SnmpTestClient.h"
#include "TFM_DevInfo.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

namespace {

const std::string Root = "1.3.6.1.4.1.48213.10.37.37.";

class DevInfoPage : public AgentFixture
{
protected:
    void set(const std::string &oid, long value)
    {
        auto client = qrt::test::SnmpTestClient::community(m_agent.address(), "granite");
        ASSERT_TRUE(client.setInt(Root + oid, value).ok()) << oid;
    }
    void setText(const std::string &oid, const std::string &value)
    {
        auto client = qrt::test::SnmpTestClient::community(m_agent.address(), "granite");
        ASSERT_TRUE(client.setBytes(Root + oid, value).ok()) << oid;
    }

    static QString text(TFM_DevInfo &page, const char *name)
    {
        if (auto *edit = page.findChild<QLineEdit *>(QString::fromLatin1(name)))
            return edit->text();
        return page.findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
};

} // namespace

TEST_F(DevInfoPage, ShowsEthernetAddressesWithTheExtraSsidMacs)
{
    TFM_DevInfo page;
    EXPECT_EQ(text(page, "Ed_IPaddr"), QStringLiteral("127.0.0.1"));
    const QString mac = text(page, "Ed_Mac");
    ASSERT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{12}$")).match(mac).hasMatch()) << qPrintable(mac);
    EXPECT_EQ(text(page, "LAB_Primary"), mac);
    const int first = mac.left(2).toInt(nullptr, 16);
    if (first + 6 <= 0xFF) {
        EXPECT_EQ(text(page, "Lab_Seccondary1").mid(2), mac.mid(2));
        EXPECT_EQ(text(page, "Lab_Seccondary1").left(2).toInt(nullptr, 16), first + 2);
        EXPECT_EQ(text(page, "Lab_Seccondary7").left(2).toInt(nullptr, 16), first + 6);
        EXPECT_EQ(m_boxes.count(), 0);
    }
    EXPECT_TRUE(page.findChild<QGroupBox *>(QStringLiteral("GB_Internet"))->isHidden());
    EXPECT_NE(text(page, "Ed_Gate"), QStringLiteral("0.0.0.0"));
    // The firmware version arrives on its own.
    QTRY_VERIFY_WITH_TIMEOUT(!text(page, "Ed_Firmware").isEmpty(), 3000);
}

TEST_F(DevInfoPage, SecurityLevelFollowsTheWirelessSettings)
{
    set("2.1.3.3.1.1.1.1", 5); // wpa2-psk
    set("2.1.3.3.1.1.5.1", 2); // AES
    {
        TFM_DevInfo page;
        EXPECT_EQ(text(page, "Ed_Sec"), QStringLiteral("WPA2-Personal / AES"));
        EXPECT_EQ(page.findChild<QGroupBox *>(QStringLiteral("GB_Wireless"))->title(),
                  QStringLiteral("Wireless(2.4GHz)"));
    }
    set("2.1.3.3.1.1.1.1", 1); // opensystem
    set("2.1.3.3.1.1.2.1", 1); // encryption on
    set("2.1.3.3.2.1.2.1", 1); // ascii key
    setText("2.1.3.3.2.1.3.1", "abcdefghijklm");
    set("2.1.3.2.1.1.24.1", 1); // 5 GHz
    TFM_DevInfo page;
    EXPECT_EQ(text(page, "Ed_Sec"), QStringLiteral("Open / 128bits"));
    EXPECT_EQ(page.findChild<QGroupBox *>(QStringLiteral("GB_Wireless"))->title(), QStringLiteral("Wireless(5GHz)"));
}

TEST_F(DevInfoPage, SilentDeviceStopsAfterTheFirstTimedOutRead)
{
    m_agent.stop();
    QElapsedTimer clock;
    clock.start();
    {
        VrSetTimeScale(0.001); // the page's 100 s time-out becomes 100 ms
        TFM_DevInfo page;
        VrSetTimeScale(1.0);
        EXPECT_TRUE(page.findChild<VrStatusBar *>(QStringLiteral("StatusBar1"))
                        ->simpleText()
                        .contains(QStringLiteral("timed out")));
    }
    EXPECT_LT(clock.elapsed(), 10000); // one time-out, not one per read
}

