// The multi-SSID page against the simulated access point.
#include "DevicePageFixture.h"
#include "TFM_MultiSSIDNewForm.h"
#include "VrTimeScale.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <fstream>

namespace {

const std::string kApMode = kP + "2.1.3.2.1.1.18.1";
const std::string kState = kP + "3.3.3.1.1.1.1";
std::string column(int c, int row) { return kP + "3.3.3.3.1." + std::to_string(c) + "." + std::to_string(row); }
const int kRowState = 2, kRowSsid = 3, kRowAuth = 5, kRowPassphrase = 11, kRowSecret = 17;

class MultiSsidPage : public DevicePage<TFM_MultiSSIDNewForm>
{
protected:
    QTreeWidget *list() { return find<QTreeWidget>("LV_MultiSSID_User"); }
    QStringList listed()
    {
        QStringList lines;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *line = list()->topLevelItem(i);
            lines << QStringList{line->text(0), line->text(1), line->text(2), line->text(3)}.join('|');
        }
        return lines;
    }
    void clickLine(int i)
    {
        QTreeWidgetItem *line = list()->topLevelItem(i);
        list()->setCurrentItem(line);
        emit list()->itemClicked(line, 0);
    }
    // SSID 1 as a WPA-Personal row, the user's usual first Add.
    void fillSsid1(const QString &ssid)
    {
        choose("CB_Index", "SSID 1");
        type("Ed_SSID", ssid);
        choose("CB_SecurityMode", "WPA-Personal");
        type("Ed_Passphrase", "guestpass1");
        type("Ed_ConfirmPass", "guestpass1");
    }
};

TEST_F(MultiSsidPage, ListsTheEnabledRowsAndKeepsThePrimary)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kState, 1).ok());
    openPage();
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(listed(), QStringList{"Primary SSID|QRT5150|2.4GHz|None"});
    EXPECT_EQ(items("CB_SecurityMode"), (QStringList{"Open System", "WPA-Personal", "WPA-Enterprise"}));
    clickLine(0);
    EXPECT_FALSE(find<QPushButton>("DelButton")->isEnabled());
    expectFitsScreen();

    fillSsid1("guest");
    click("AddButton");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Save SSID...!");
    EXPECT_EQ(number(column(kRowState, 2)), 1);
    EXPECT_EQ(text(column(kRowSsid, 2)), "guest");
    EXPECT_EQ(number(column(kRowAuth, 2)), 7); // WPA-Personal, AUTO(WPA or WPA2)
    EXPECT_EQ(listed(), (QStringList{"Primary SSID|QRT5150|2.4GHz|None",
                                     "Multi-SSID 1|guest|2.4GHz|WPA-Auto-Personal"}));
    expectFitsScreen();

    clickLine(1);
    EXPECT_EQ(combo("CB_Index")->currentText(), "SSID 1");
    ASSERT_TRUE(find<QPushButton>("DelButton")->isEnabled());
    click("DelButton");
    EXPECT_EQ(number(column(kRowState, 2)), 0);
    EXPECT_EQ(listed(), QStringList{"Primary SSID|QRT5150|2.4GHz|None"});
    EXPECT_EQ(setsOf(column(kRowState, 1)), 0);
}

TEST_F(MultiSsidPage, RowsWithTheSameSsidAreRefused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kState, 1).ok());
    ASSERT_TRUE(client->setBytes(column(kRowSsid, 3), "taken").ok());
    ASSERT_TRUE(client->setInt(column(kRowState, 3), 1).ok());
    openPage();
    struct Case { const char *ssid; const char *message; };
    for (const Case &c : {Case{"QRT5150", "The 11g SSID 1's SSID is same as Primary SSID"},
                          Case{"taken", "The 11g SSID 1's SSID is same as SSID 2"}}) {
        fillSsid1(QString::fromLatin1(c.ssid));
        click("AddButton");
        EXPECT_EQ(boxes.lastText(), c.message);
    }
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(setsOf(column(kRowSsid, 2)), 0);

    // The primary row's SSID is the radio's: it may not be emptied either.
    choose("CB_Index", "Primary SSID");
    type("Ed_SSID", "");
    click("AddButton");
    EXPECT_EQ(boxes.lastText(), "Please input SSID!");
    EXPECT_EQ(setsOf(column(kRowSsid, 1)), 0);
    type("Ed_SSID", "renamed");
    click("AddButton");
    EXPECT_EQ(status(), "Save SSID...!");
    EXPECT_EQ(text(kP + "2.1.3.2.1.1.1.1"), "renamed"); // the radio's SSID
    EXPECT_EQ(number(column(kRowState, 1)), 1);
}

TEST_F(MultiSsidPage, WdsDeviceWarnsOnceAndBecomesAccessPointFirst)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kApMode, 3).ok());
    openPage();
    EXPECT_EQ(boxes.count(), 0);
    tick("IfEnabMuSSID");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "If you enable Multi-SSID, AP Mode will be set to 'Access Point'!");
    EXPECT_EQ(boxes.calls()[0].caption, "Warning");

    fillSsid1("guest");
    click("AddButton");
    EXPECT_EQ(boxes.count(), 1) << boxes.lastText().toStdString();
    EXPECT_EQ(number(kApMode), 1);
    EXPECT_EQ(text(column(kRowSsid, 2)), "guest");
    ASSERT_NE(firstSet(kApMode), std::string::npos);
    EXPECT_LT(firstSet(kApMode), firstSet(column(kRowSsid, 2)));

    click("ApplyBtn");
    EXPECT_EQ(status(), "Save OK!");
    EXPECT_EQ(number(kState), 1);
    EXPECT_EQ(setsOf(kApMode), 2); // the test's own, then the page's once: already an access point
}

TEST_F(MultiSsidPage, UnchangedPassphraseAndSecretAreNotWrittenAgain)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kState, 1).ok());
    openPage();
    fillSsid1("guest");
    click("AddButton");
    ASSERT_EQ(text(column(kRowPassphrase, 2)), "guestpass1");
    type("Ed_SSID", "guest2");
    click("AddButton");
    EXPECT_EQ(text(column(kRowSsid, 2)), "guest2");
    EXPECT_EQ(setsOf(column(kRowPassphrase, 2)), 1);

    choose("CB_SecurityMode", "WPA-Enterprise");
    type("Edt_RadiusServer", "192.168.0.10");
    type("Edt_RadiusPort", "1812");
    type("Edt_RadiusSecret", "radius-secret");
    click("AddButton");
    ASSERT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(column(kRowSecret, 2)), "radius-secret");
    type("Ed_SSID", "guest3");
    click("AddButton");
    EXPECT_EQ(text(column(kRowSsid, 2)), "guest3");
    EXPECT_EQ(setsOf(column(kRowSecret, 2)), 1);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(MultiSsidPage, BadInputIsRefusedAndNothingWritten)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kState, 1).ok());
    openPage();
    struct Case {
        const char *security;
        const char *field;
        QString value;
        const char *message;
    };
    const Case cases[] = {
        {"WPA-Personal", "Ed_SSID", QString::fromUtf8("caf\xC3\xA9"), "Don't support chinese character !"},
        {"WPA-Personal", "Ed_Passphrase", QStringLiteral("short"), "The ComPassphrase length is between 8 and 63."},
        {"WPA-Personal", "Ed_UpdateInterval", QStringLiteral("3600x"), "Please input a number between 300 and 9999999."},
        {"WPA-Enterprise", "Edt_RadiusServer", QStringLiteral("10.1.2.3.4"), "The Radius server's IP is illegal."},
        {"WPA-Enterprise", "Edt_RadiusServer", QStringLiteral("0.1.2.3"), "The Radius server's IP is illegal."},
        {"WPA-Enterprise", "Edt_RadiusSecret", QString(), "The shared secret of radius server cannot be empty."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        fillSsid1("guest");
        choose("CB_SecurityMode", QString::fromLatin1(c.security));
        type("Ed_UpdateInterval", "3600");
        type("Edt_RadiusServer", "192.168.0.10");
        type("Edt_RadiusPort", "1812");
        type("Edt_RadiusSecret", "radius-secret");
        edit(c.field)->setText(c.value);
        if (QString::fromLatin1(c.field) == QLatin1String("Ed_Passphrase"))
            edit("Ed_ConfirmPass")->setText(c.value);
        const int before = boxes.count();
        click("AddButton");
        ASSERT_EQ(boxes.count(), before + 1);
        EXPECT_EQ(boxes.lastText(), c.message);
    }
    EXPECT_EQ(device.log().find("set " + kP + "3.3.3.3.1."), std::string::npos);
}

// Opened while the device kept silent, the page showed multi-SSID unticked,
// grew past the screen, and a Save then switched multi-SSID off.
TEST_F(MultiSsidPage, SaveAfterASilentOpeningWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(startMutableDevice());
    ASSERT_TRUE(client->setInt(kState, 1).ok());
    openWhileSilent();
    expectFitsScreen();
    click("ApplyBtn");
    expectUnreadRefused("Multi-SSID");
    EXPECT_EQ(status(), "Save Fail!");
    EXPECT_EQ(setsOf(kState), 1); // the client's own
    EXPECT_EQ(number(kState), 1);
}

TEST_F(MultiSsidPage, SilentDeviceDuringAddLeavesThePageUsable)
{
    const std::string mute = dir.filePath(QStringLiteral("mute")).toStdString();
    ASSERT_NO_FATAL_FAILURE(startDevice({"--mute-file", mute}));
    ASSERT_TRUE(client->setInt(kState, 1).ok());
    VrSetTimeScale(0.02); // the row's 100 s time-out in 2 s
    openPage();
    fillSsid1("guest");
    std::ofstream(mute) << "";
    const int retries = g_SNMPRetries;
    g_SNMPRetries = 0;
    QElapsedTimer clock;
    clock.start();
    click("AddButton");
    VrSetTimeScale(1.0);
    g_SNMPRetries = retries;
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(status().contains(QStringLiteral("timed out"))) << status().toStdString();
    EXPECT_TRUE(find<QPushButton>("AddButton")->isEnabled());
    EXPECT_TRUE(edit("Ed_SSID")->isEnabled());
    EXPECT_EQ(edit("Ed_SSID")->text(), "guest");
}

} // namespace
