// The time and date page against the simulated access point.
#include "PageFixture.h"
#include "TFM_Time.h"
#include "VrSNMPTarget.h"
#include "VrTimeScale.h"

#include <cstdio>
#include <fstream>

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string kServer = P + "4.8.1";
const std::string kZone = P + "4.8.2";
const std::string kDaylight = P + "4.8.3";
const std::string kTimeOfDay = P + "4.8.4";
const std::string kNtp = P + "4.8.5";
const std::string kManual = P + "4.8.7";
const std::string kStartMonth = P + "4.8.8";

class TimePage : public PageFixture<TFM_Time>
{
};

} // namespace

TEST_F(TimePage, OpensWithTheDeviceSettingsAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(page->windowTitle(), "Tools \\ Time and Date");
    EXPECT_EQ(combo("CB_TimeZone")->count(), 75);
    EXPECT_EQ(combo("CB_TimeZone")->currentText(),
              "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London");
    EXPECT_EQ(combo("CB_ServerName")->currentText(), "Select NTP Server");
    EXPECT_TRUE(edit("Ed_ServerIp")->text().isEmpty()); // the device's 0.0.0.0
    EXPECT_FALSE(check("CheckBox_NTP")->isChecked());
    EXPECT_FALSE(edit("Ed_ServerIp")->isEnabled());
    EXPECT_TRUE(combo("CB_Year")->isEnabled());
    EXPECT_FALSE(combo("CB_StartMonth")->isEnabled());
    EXPECT_FALSE(combo("CB_InDays")->isEnabled());
    EXPECT_EQ(combo("CB_InDays")->currentText(), "+1:00");
    EXPECT_EQ(find<QLabel>("LB_CurrentTime")->text().size(), 19);
    // The computer's clock is in the lists, whatever the year.
    EXPECT_EQ(combo("CB_Year")->currentText(), QString::number(QDate::currentDate().year()));
    expectFitsScreen();
}

TEST_F(TimePage, CopiedComputerTimeIsSavedWithItsYear)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    // Moved away from now, so that the copy has to bring the year back.
    choose("CB_Year", "2003");
    click("Btn_Copy");
    const QString composed = edit("Ed_DateTime")->text();
    const QString year = QString::number(QDate::currentDate().year());
    ASSERT_EQ(composed.size(), 19) << composed.toStdString();
    EXPECT_EQ(composed.mid(6, 4), year);
    EXPECT_EQ(sets(), 0); // copying sends nothing
    click("Btn_Apply");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Setting Success");
    EXPECT_EQ(setsOf(kManual), 1);
    EXPECT_EQ(setsOf(kServer), 0);
    EXPECT_EQ(QString::fromStdString(text(kTimeOfDay)).mid(6, 4), year);

    choose("CB_Year", "2031");
    choose("CB_Month", "02");
    choose("CB_Day", "28");
    click("Btn_Apply");
    EXPECT_EQ(status(), "Setting Success");
    EXPECT_EQ(text(kTimeOfDay).substr(0, 10), "02/28/2031");
    EXPECT_EQ(find<QLabel>("LB_CurrentTime")->text().left(10), "02/28/2031");
}

TEST_F(TimePage, ZoneWithoutDaylightSavingLeavesItUnwritten)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_TRUE(check("CheckBox_Daylight")->isEnabled());
    check("CheckBox_Daylight")->click();
    EXPECT_TRUE(combo("CB_StartMonth")->isEnabled());
    choose("CB_StartMonth", "Apr");
    choose("CB_TimeZone", "(GMT-10:00) Hawaii");
    EXPECT_FALSE(check("CheckBox_Daylight")->isEnabled());
    click("Btn_Apply");
    EXPECT_EQ(status(), "Setting Success");
    EXPECT_EQ(number(kZone), 3);
    EXPECT_EQ(setsOf(kDaylight), 0);
    EXPECT_EQ(number(kDaylight), 0);
    // Still checked, so the rules themselves are written.
    EXPECT_EQ(number(kStartMonth), 4);

    // The page shows what the device kept: daylight saving off.
    EXPECT_FALSE(check("CheckBox_Daylight")->isChecked());
    choose("CB_TimeZone", "(GMT-09:00) Alaska");
    EXPECT_TRUE(check("CheckBox_Daylight")->isEnabled());
    check("CheckBox_Daylight")->click();
    click("Btn_Apply");
    EXPECT_EQ(number(kDaylight), 1);
}

TEST_F(TimePage, NtpServerIsCheckedBeforeAnythingIsSent)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    check("CheckBox_NTP")->click();
    EXPECT_TRUE(edit("Ed_ServerIp")->isEnabled());
    EXPECT_FALSE(combo("CB_Year")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Btn_Copy")->isEnabled());
    click("Btn_Apply");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Please input valid IP address");
    EXPECT_EQ(boxes.calls().last().caption, "Waring");
    for (const char *bad : {"10.0.0.256", "10.0.0.1.2", "10.0.0.0"}) {
        type("Ed_ServerIp", bad);
        click("Btn_Apply");
        EXPECT_EQ(boxes.lastText(), "Please input valid IP address") << bad;
        EXPECT_TRUE(edit("Ed_ServerIp")->text().isEmpty()) << bad;
    }
    EXPECT_EQ(boxes.count(), 4);
    EXPECT_EQ(sets(), 0);

    type("Ed_ServerIp", "192.168.0.123");
    click("Btn_Apply");
    EXPECT_EQ(status(), "Setting Success");
    EXPECT_EQ(text(kServer), std::string("\xC0\xA8\x00\x7B", 4));
    EXPECT_EQ(number(kNtp), 1);
    EXPECT_EQ(setsOf(kManual), 0);
    EXPECT_EQ(edit("Ed_ServerIp")->text(), "192.168.0.123");
}

TEST_F(TimePage, ConvertLooksTheServerUpWithoutBlocking)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    check("CheckBox_NTP")->click();
    type("Ed_ServerIp", "10.1.1.1");
    click("Btn_Convert");
    EXPECT_TRUE(edit("Ed_ServerIp")->text().isEmpty()); // "Select NTP Server"

    // The offered name as this machine can resolve it.
    QComboBox *names = combo("CB_ServerName");
    names->setItemText(1, "localhost");
    choose("CB_ServerName", "localhost");
    click("Btn_Convert");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !edit("Ed_ServerIp")->text().isEmpty(); }, 10000));
    EXPECT_EQ(edit("Ed_ServerIp")->text(), "127.0.0.1");

    names->setItemText(1, "no-such-host.invalid");
    click("Btn_Convert");
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.count() == 1; }, 20000));
    EXPECT_EQ(boxes.lastText(), "Cannot find an IPv4 address for no-such-host.invalid.");
    EXPECT_EQ(edit("Ed_ServerIp")->text(), "127.0.0.1");
}

// Opened while the device kept silent, the page held no time settings of the
// device, only empty fields and first entries: a Save wrote them.
TEST_F(TimePage, SaveAfterASilentOpeningSendsNothingAndReadsAgain)
{
    const std::string mute = dir.filePath("mute").toStdString();
    ASSERT_NO_FATAL_FAILURE(startDevice({"--mute-file", mute}));
    const long zone = number(kZone);
    std::ofstream(mute) << "";
    const int retries = g_SNMPRetries;
    g_SNMPRetries = 0;
    VrSetTimeScale(0.01);
    openPage();
    VrSetTimeScale(1.0);
    g_SNMPRetries = retries;
    std::remove(mute.c_str());

    click("Btn_Apply");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.lastText().contains("\"Time\" could not be read")) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Setting Error");
    EXPECT_EQ(logCount("set "), 0);
    EXPECT_EQ(number(kZone), zone);

    // Save read the page again: now it holds the device's settings.
    EXPECT_FALSE(combo("CB_TimeZone")->currentText().isEmpty());
    click("Btn_Apply");
    EXPECT_EQ(status(), "Setting Success");
    EXPECT_EQ(number(kZone), zone);
    EXPECT_EQ(boxes.count(), 1);
}
