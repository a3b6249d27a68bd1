// The wireless settings page against the simulated access point: the page
// is opened, used as a user would, saved, and what the device holds is read
// back with a separate SNMP client.
#include "SimulatedPageFixture.h"
#include "TFM_Wirless.h"
#include "VrStatusBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string kSsid = P + "2.1.3.2.1.1.1.1";
const std::string kSsidBroadcast = P + "2.1.3.2.1.1.2.1";
const std::string kApMode = P + "2.1.3.2.1.1.18.1";
const std::string kAuthentication = P + "2.1.3.3.1.1.1.1";
const std::string kEncryption = P + "2.1.3.3.1.1.2.1";
const std::string kPassphrase = P + "2.1.3.3.1.1.4.1";
const std::string kRadiusServer = P + "2.1.3.3.1.1.7.1";
const std::string kWepKey1 = P + "2.1.3.3.2.1.3.1";
const std::string kPeerAdd = P + "2.1.3.2.2.2.1.1.1";
const std::string kPeerDeleteAll = P + "2.1.3.2.2.2.1.3.1";
const std::string kPeerList = P + "2.1.3.2.2.1.1.2";
const std::string kMssidState = P + "3.3.3.1.1.1.1";
const std::string kCloneStatus = P + "2.1.3.1.1.1.1.1";
const std::string kCloneSource = P + "2.1.3.1.1.1.2.1";
const std::string kCloneMac = P + "2.1.3.1.1.1.3.1";

class WirelessPage : public SimulatedPageFixture<TFM_Wirless>
{
protected:
    // A factory-new device, optionally with settings of its state file.
    void startDevice(const std::string &state = std::string())
    {
        std::vector<std::string> args;
        if (!state.empty()) {
            const std::string path = dir.filePath("ap.state").toStdString();
            std::ofstream(path) << state;
            args = {"--state", path};
        }
        SimulatedPageFixture::startDevice(args);
    }

    void save() { QTest::mouseClick(find<QPushButton>("Bt_Apply"), Qt::LeftButton); }
    QString status() { return find<VrStatusBar>("StatusBar1")->simpleText(); }
    QStringList items(const char *name)
    {
        QStringList texts;
        QComboBox *c = combo(name);
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    }
    // The layouts take in what was shown or hidden, and the window their size.
    void settle()
    {
        QApplication::processEvents();
        page->layout()->activate();
    }
    int setsOf(const std::string &oid) { return acceptedSetsOf(oid); }
};

TEST_F(WirelessPage, OpensWithTheDeviceSettings)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(combo("CB_Band")->currentText(), "2.4GHz");
    EXPECT_EQ(combo("CB_APMode")->currentText(), "Access Point");
    EXPECT_EQ(items("CB_APMode").size(), 4);
    EXPECT_EQ(edit("Ed_SSID")->text(), "QRT5150");
    EXPECT_EQ(combo("CB_SecurityMode")->currentText(), "Open System");
    EXPECT_EQ(items("CB_SecurityMode"), (QStringList{"Open System", "Shared Key", "WPA-Personal", "WPA-Enterprise"}));
    // The device's own 2.4 GHz list, not the default of thirteen channels.
    EXPECT_EQ(items("CB_Chanal").size(), 11);
    EXPECT_EQ(combo("CB_AuSc")->currentText(), "Enable");
    EXPECT_FALSE(combo("CB_Chanal")->isEnabled());
    EXPECT_TRUE(find<QGroupBox>("GB_Key")->isVisible());
    EXPECT_FALSE(find<QGroupBox>("GB_WDS")->isVisible());
    EXPECT_FALSE(find<QGroupBox>("GB_CloneMAC")->isVisible());
    EXPECT_FALSE(combo("CB_Applicaiton")->isVisible()); // Japan only
}

// The page reads every group at once; the band and country it shows must
// still decide how the mode and radio mode read with them are shown.
TEST_F(WirelessPage, OpensOn5GHzWithTheModesOfThatBand)
{
    ASSERT_NO_FATAL_FAILURE(startDevice(P + "2.1.3.2.1.1.27.1=GB\n"));
    ASSERT_TRUE(client->setInt(P + "2.1.3.2.1.1.24.1", 1).ok()); // 5 GHz
    ASSERT_TRUE(client->setInt(kApMode, 4).ok());
    ASSERT_TRUE(client->setInt(P + "2.1.3.2.1.1.9.1", 7).ok()); // 802.11a Only
    openPage();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(combo("CB_Band")->currentText(), "5GHz");
    EXPECT_EQ(items("CB_APMode"), (QStringList{"Access Point", "Wireless Client"}));
    EXPECT_EQ(combo("CB_APMode")->currentText(), "Wireless Client");
    EXPECT_TRUE(find<QGroupBox>("GB_CloneMAC")->isVisible());
    EXPECT_EQ(combo("CB_WMode2")->currentText(), "802.11a Only");
    // A legacy 5 GHz radio mode keeps the width at 20 MHz, over the client's own.
    EXPECT_EQ(combo("CB_ChannelWidth")->currentText(), "20MHz");
    EXPECT_FALSE(combo("CB_ChannelWidth")->isEnabled());
}

TEST_F(WirelessPage, SsidOf32IsSavedAnd33Refused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    const QString ssid32(32, QLatin1Char('s'));
    type("Ed_SSID", ssid32);
    save();
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(text(kSsid), ssid32.toStdString());

    // 31 characters and one of two octets: 33 octets on the air.
    type("Ed_SSID", QString(31, QLatin1Char('t')));
    QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0xE9)));
    QApplication::sendEvent(edit("Ed_SSID"), &accented);
    ASSERT_EQ(edit("Ed_SSID")->text().size(), 32);
    save();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.calls()[0].text, "The Max Length of SSID is 32.!");
    EXPECT_EQ(boxes.calls()[0].caption, "Warning");
    EXPECT_TRUE(edit("Ed_SSID")->text().isEmpty());
    EXPECT_EQ(text(kSsid), ssid32.toStdString());
}

TEST_F(WirelessPage, WpaClassesWriteTheirAuthenticationNumber)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_SecurityMode", "WPA-Personal");
    EXPECT_TRUE(find<QGroupBox>("GB_Passphrase")->isVisible());
    EXPECT_FALSE(find<QGroupBox>("GB_Radius")->isVisible());
    choose("CB_WPAMode", "AUTO(WPA or WPA2)");
    type("Ed_Passphrase", "correcthorse");
    type("Ed_ConfirmPass", "correcthorse");
    save();
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(number(kAuthentication), 7);
    EXPECT_EQ(text(kPassphrase), "correcthorse");
    // The page reads itself back after a Save.
    EXPECT_EQ(combo("CB_SecurityMode")->currentText(), "WPA-Personal");
    EXPECT_EQ(combo("CB_WPAMode")->currentText(), "AUTO(WPA or WPA2)");

    choose("CB_SecurityMode", "WPA-Enterprise");
    EXPECT_EQ(find<QGroupBox>("GB_Passphrase")->title(), "RADIUS Server Settings");
    choose("CB_WPAMode", "WPA2 Only");
    type("Edt_RadiusServer", "192.168.0.300");
    type("Edt_RadiusSecret", "radius-secret");
    save();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The Radius server's IP is illegal.");
    EXPECT_EQ(number(kAuthentication), 7);

    type("Edt_RadiusServer", "192.168.0.10");
    save();
    EXPECT_EQ(boxes.count(), 1) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kAuthentication), 6);
    EXPECT_EQ(text(kRadiusServer), std::string("\xC0\xA8\x00\x0A", 4));
}

TEST_F(WirelessPage, PassphraseLengthsAndNoRewriteWhenUnchanged)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_SecurityMode", "WPA-Personal");
    type("Ed_Passphrase", "1234567");
    type("Ed_ConfirmPass", "1234567");
    save();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The Passphrase length is between 8 and 63.");
    EXPECT_EQ(boxes.calls()[0].caption, "Error");
    EXPECT_EQ(number(kAuthentication), 1);

    type("Ed_Passphrase", "12345678");
    type("Ed_ConfirmPass", "12345679");
    save();
    EXPECT_EQ(boxes.lastText(), "Please input the confirm new password correctly!");

    type("Ed_ConfirmPass", "12345678");
    save();
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(text(kPassphrase), "12345678");

    const QString longest(63, QLatin1Char('p'));
    type("Ed_Passphrase", longest);
    type("Ed_ConfirmPass", longest);
    save();
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(text(kPassphrase), longest.toStdString());
    ASSERT_EQ(setsOf(kPassphrase), 2);

    // Saved again untouched: the passphrase read is not sent back.
    type("Ed_SSID", "other");
    save();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(text(kSsid), "other");
    EXPECT_EQ(setsOf(kPassphrase), 2);
}

TEST_F(WirelessPage, WepKeyLengthAndMaskedKey)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_dot11Encryption", "Enable");
    EXPECT_TRUE(edit("Ed_Key1")->isEnabled());
    choose("CB_KeyType1", "HEX");
    choose("CB_WepEncryp1", "64Bits");
    EXPECT_EQ(edit("Ed_Key1")->maxLength(), 10);
    type("Ed_Key1", "12345");
    type("Ed_ConfirmKey", "12345");
    save();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The Length of the 1st key must be 10 hexadecimal numbers!");
    EXPECT_EQ(number(kEncryption), 0);

    // Only the selected key is checked; key 2 says so in its own words.
    choose("CB_DefaultKey", "Second");
    EXPECT_TRUE(edit("Ed_Key2")->isVisible());
    EXPECT_FALSE(edit("Ed_Key1")->isVisible());
    choose("CB_KeyType2", "ASCII");
    choose("CB_WepEncryp2", "128Bits");
    type("Ed_Key2", "abc");
    type("Ed_ConfirmKey", "abc");
    save();
    EXPECT_EQ(boxes.lastText(), "The Length of the 2nd key must be 13 ASCII numbers!");

    choose("CB_DefaultKey", "First");
    type("Ed_Key1", "0123456789");
    type("Ed_ConfirmKey", "0123456789");
    save();
    EXPECT_EQ(boxes.count(), 2) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kEncryption), 1);
    EXPECT_EQ(setsOf(kWepKey1), 1);

    // The device reports the key masked; saving it back must not replace the key.
    EXPECT_EQ(edit("Ed_Key1")->text(), "**********");
    type("Ed_SSID", "masked");
    save();
    EXPECT_EQ(boxes.count(), 2) << boxes.lastText().toStdString();
    EXPECT_EQ(text(kSsid), "masked");
    EXPECT_EQ(setsOf(kWepKey1), 1);
}

TEST_F(WirelessPage, RestrictedCountriesOffer2ModesOn5GHz)
{
    for (const char *country : {"JP", "GB"}) {
        SCOPED_TRACE(country);
        ASSERT_NO_FATAL_FAILURE(startDevice(P + "2.1.3.2.1.1.27.1=" + country + "\n"));
        openPage();
        EXPECT_EQ(items("CB_APMode").size(), 4);
        choose("CB_Band", "5GHz");
        EXPECT_EQ(items("CB_APMode"), (QStringList{"Access Point", "Wireless Client"}));
        EXPECT_EQ(combo("CB_Applicaiton")->isVisible(), std::string(country) == "JP");
        page.reset();
        device.stop();
    }
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_Band", "5GHz");
    EXPECT_EQ(items("CB_APMode").size(), 4);
    EXPECT_EQ(items("CB_Chanal").size(), 19);
}

TEST_F(WirelessPage, WirelessClientLocksVisibilityChannelAndWidth)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_SsidBroadcast", "Disable");
    choose("CB_APMode", "Wireless Client");
    EXPECT_EQ(combo("CB_SsidBroadcast")->currentText(), "Enable");
    EXPECT_EQ(combo("CB_AuSc")->currentText(), "Enable");
    EXPECT_EQ(combo("CB_ChannelWidth")->currentText(), "Auto 20/40 MHz");
    for (const char *locked : {"CB_SsidBroadcast", "CB_AuSc", "CB_ChannelWidth", "CB_Chanal"})
        EXPECT_FALSE(combo(locked)->isEnabled()) << locked;
    EXPECT_TRUE(find<QGroupBox>("GB_CloneMAC")->isVisible());
    EXPECT_TRUE(find<QTreeWidget>("LV_ClientSiteServey")->isVisible());
    EXPECT_EQ(items("CB_SecurityMode"), (QStringList{"Open System", "WPA-Personal"}));
    EXPECT_FALSE(edit("Edt_MACAddr")->isEnabled());

    save();
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(number(kApMode), 4);
    EXPECT_EQ(setsOf(kSsidBroadcast), 0);

    // While the device runs as a client it cannot survey for WDS peers.
    EXPECT_TRUE(find<QPushButton>("SiteScan")->isEnabled());
    choose("CB_APMode", "WDS");
    EXPECT_FALSE(find<QPushButton>("SiteScan")->isEnabled());
}

TEST_F(WirelessPage, ClientSavedAsWdsKeepsTheWdsSurveyOff)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 4).ok());
    openPage();
    choose("CB_APMode", "WDS");
    EXPECT_FALSE(find<QPushButton>("SiteScan")->isEnabled());
    save();
    EXPECT_EQ(status(), "Setting Success!");
    ASSERT_EQ(number(kApMode), 3);
    // Read back as WDS, but the device may still run as a client.
    QTest::mouseClick(find<QPushButton>("Bt_Refresh"), Qt::LeftButton);
    EXPECT_EQ(combo("CB_APMode")->currentText(), "WDS");
    EXPECT_FALSE(find<QPushButton>("SiteScan")->isEnabled());
}

TEST_F(WirelessPage, WdsPeersRefuseDuplicatesAndReplaceTheList)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    // A peer the device already holds shows in the first field.
    ASSERT_TRUE(client->setBytes(kPeerAdd, qrt::test::macBytes("0A0B0C0D0E0F")).ok());
    openPage();
    choose("CB_APMode", "WDS");
    EXPECT_TRUE(find<QGroupBox>("GB_WDS")->isVisible());
    EXPECT_EQ(combo("CB_AuSc")->currentText(), "Disable");
    EXPECT_FALSE(combo("CB_WPAMode")->isEnabled());
    EXPECT_EQ(edit("Ed_ReMAddra0")->text(), "0A0B0C0D0E0F");

    type("Ed_ReMAddra0", "001122334455");
    type("Ed_ReMAddra1", "001122334455");
    save();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Exist same MAC address.");
    EXPECT_EQ(page->focusWidget(), edit("Ed_ReMAddra1"));

    type("Ed_ReMAddra1", "00112233AABB");
    save();
    EXPECT_EQ(boxes.count(), 1) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kApMode), 3);
    EXPECT_EQ(setsOf(kPeerDeleteAll), 1);
    EXPECT_EQ(text(kPeerList + ".1"), qrt::test::macBytes("001122334455"));
    EXPECT_EQ(text(kPeerList + ".2"), qrt::test::macBytes("00112233AABB"));
    EXPECT_EQ(text(kPeerList + ".3"), std::string(6, '\0'));
}

TEST_F(WirelessPage, SiteSurveyFillsItsList)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_APMode", "Wireless Client");
    auto *scan = find<QPushButton>("SiteScan");
    ASSERT_TRUE(scan->isEnabled());
    QTest::mouseClick(scan, Qt::LeftButton);
    EXPECT_EQ(status(), "Detecting...");
    EXPECT_FALSE(find<QPushButton>("Bt_Apply")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Bt_Close")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Bt_Apply")->isEnabled(), 10000);
    EXPECT_TRUE(find<QPushButton>("Bt_Refresh")->isEnabled());

    auto *list = find<QTreeWidget>("LV_ClientSiteServey");
    ASSERT_EQ(list->topLevelItemCount(), 5);
    QTreeWidgetItem *row = list->topLevelItem(2);
    list->setCurrentItem(row);
    emit list->itemClicked(row, 0);
    EXPECT_EQ(edit("Ed_SSID")->text(), row->text(5));
    EXPECT_FALSE(row->text(5).isEmpty());
}

TEST_F(WirelessPage, LeavingAccessPointSwitchesMultiSsidOffFirst)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kMssidState, 1).ok());
    openPage();
    // Shared Key is not offered while multi-SSID runs.
    EXPECT_EQ(items("CB_SecurityMode"), (QStringList{"Open System", "WPA-Personal", "WPA-Enterprise"}));
    choose("CB_APMode", "WDS with AP");
    EXPECT_EQ(boxes.count(), 0);
    choose("CB_APMode", "WDS");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(),
              "Multi-SSID will be disabled when QRT-5150 is configured in 'WDS' or 'Wireless Client'.");
    EXPECT_EQ(boxes.calls()[0].caption, "Warning");
    save();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kMssidState), 0);
    EXPECT_EQ(number(kApMode), 3);
    const std::string log = device.log();
    EXPECT_LT(log.find("set " + kMssidState), log.find("set " + kApMode));
}

TEST_F(WirelessPage, ManualMacCloneTakesASurveyedAddress)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_APMode", "Wireless Client");
    // The clone survey is read when the page opens.
    auto *survey = find<QTreeWidget>("LV_CloneMACSurvey");
    ASSERT_GT(survey->topLevelItemCount(), 0);
    auto *enable = find<QCheckBox>("CBH_CloneMACStatus");
    QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(5, enable->height() / 2));
    ASSERT_TRUE(enable->isChecked());
    EXPECT_FALSE(edit("Edt_MACAddr")->isEnabled());
    choose("CB_MACSource", "Manual");
    EXPECT_TRUE(edit("Edt_MACAddr")->isEnabled());
    QTreeWidgetItem *row = survey->topLevelItem(0);
    emit survey->itemClicked(row, 0);
    const QString mac = edit("Edt_MACAddr")->text();
    ASSERT_EQ(mac.size(), 12);

    save();
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(number(kCloneStatus), 1);
    EXPECT_EQ(number(kCloneSource), 2);
    EXPECT_EQ(text(kCloneMac), qrt::test::macBytes(mac.toStdString()));
    EXPECT_EQ(edit("Edt_MACAddr")->text(), mac); // read back by the refresh

    // Unticked, only the state is written; source and address stay.
    QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(5, enable->height() / 2));
    EXPECT_EQ(combo("CB_MACSource")->currentText(), "Auto");
    save();
    EXPECT_EQ(number(kCloneStatus), 0);
    EXPECT_EQ(number(kCloneSource), 2);
}

TEST_F(WirelessPage, RefreshShowsWhatTheDeviceHoldsNow)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    ASSERT_TRUE(client->setBytes(kSsid, "elsewhere").ok());
    ASSERT_TRUE(client->setInt(kAuthentication, 5).ok());
    QTest::mouseClick(find<QPushButton>("Bt_Refresh"), Qt::LeftButton);
    EXPECT_EQ(status(), "Refresh Ok!");
    EXPECT_EQ(edit("Ed_SSID")->text(), "elsewhere");
    EXPECT_EQ(combo("CB_SecurityMode")->currentText(), "WPA-Personal");
    EXPECT_EQ(combo("CB_WPAMode")->currentText(), "WPA2 Only");
    EXPECT_TRUE(find<QGroupBox>("GB_Passphrase")->isVisible());
}

TEST_F(WirelessPage, WepKeysSharedWithAnotherSsidAreWarnedAbout)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kMssidState, 1).ok());
    ASSERT_TRUE(client->setInt(P + "3.3.3.3.1.2.2", 1).ok()); // SSID 1 enabled, open system
    openPage();
    choose("CB_dot11Encryption", "Enable");
    choose("CB_KeyType1", "ASCII");
    choose("CB_WepEncryp1", "64Bits");
    type("Ed_Key1", "abcde");
    type("Ed_ConfirmKey", "abcde");
    save();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Key value is used by SSID! \nTo change Key value affects other SSID settings.");
    // A warning only: the key is written all the same.
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kEncryption), 1);
    EXPECT_EQ(setsOf(kWepKey1), 1);
}

TEST_F(WirelessPage, FitsTheScreenInEveryModeAndShrinksBack)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    settle();
    const QSize accessPoint = page->size();
    for (const QString &band : {QStringLiteral("5GHz"), QStringLiteral("2.4GHz")}) {
        choose("CB_Band", band);
        for (const QString &mode : items("CB_APMode")) {
            choose("CB_APMode", mode);
            for (const QString &security : items("CB_SecurityMode")) {
                SCOPED_TRACE((band + " / " + mode + " / " + security).toStdString());
                choose("CB_SecurityMode", security);
                choose("CB_dot11Encryption", "Enable");
                // The window follows what it shows, and that fits the screen.
                EXPECT_EQ(page->size(), page->sizeHint());
                EXPECT_LE(page->width(), 1366);
                EXPECT_LE(page->height(), 740);
                // Fields keep their own width instead of stretching across the window.
                EXPECT_LE(combo("CB_APMode")->width(), 300);
            }
        }
    }
    choose("CB_APMode", "Access Point");
    choose("CB_SecurityMode", "Open System");
    settle();
    EXPECT_LE(page->height(), accessPoint.height());
    EXPECT_LE(page->width(), accessPoint.width());
}

// Saving with nothing edited wrote "Access Point" over the router operation.
TEST_F(WirelessPage, RouterKeepsItsModeThroughASave)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 5).ok());
    openPage();
    EXPECT_EQ(combo("CB_APMode")->currentText(), "Router");
    save();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kApMode), 5);
    EXPECT_EQ(logCount("set " + kApMode + " -> "), 1); // the client's own
    EXPECT_EQ(combo("CB_APMode")->currentText(), "Router");

    choose("CB_APMode", "Access Point"); // the user's own choice is written
    save();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_EQ(number(kApMode), 1);
    EXPECT_EQ(items("CB_APMode"), (QStringList{"Access Point", "WDS with AP", "WDS", "Wireless Client"}));
}

TEST_F(WirelessPage, SilentDeviceStopsTheReadingAtTheFirstGroup)
{
    const QString mute = dir.filePath(QStringLiteral("mute"));
    std::ofstream(mute.toStdString()) << "";
    ASSERT_NO_FATAL_FAILURE(startDevice());
    device.stop();
    std::string why;
    ASSERT_TRUE(device.start({"--mute-file", mute.toStdString()}, &why)) << why;
    g_SNMPDevice.port = uint16_t(device.port());
    const int retries = g_SNMPRetries;
    g_SNMPRetries = 0;
    QElapsedTimer clock;
    clock.start();
    openPage(); // the country group alone waits out its 10 s
    g_SNMPRetries = retries;
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_TRUE(status().contains(QStringLiteral("timed out"))) << status().toStdString();
    EXPECT_EQ(boxes.count(), 0);

    // The device answers again: a Save writes none of the groups left unread
    // (the empty SSID is the first thing it refuses).
    std::remove(mute.toStdString().c_str());
    save();
    EXPECT_EQ(logCount("set 1."), 0) << device.log();
    EXPECT_GE(boxes.count(), 1);
}

} // namespace
