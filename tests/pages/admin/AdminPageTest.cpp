// The administrator settings page against the simulated access point.
#include "PageFixture.h"
#include "TFM_Admin2.h"
#include "VrRadioGroup.h"
#include "VrTimeScale.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QScopeGuard>
#include <csignal>

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string kUser = P + "4.1.1.1.2.1";
const std::string kPassword = P + "4.1.1.1.3.1";
const std::string kTelnet = P + "4.4.1.0";
const std::string kSsh = P + "4.4.2.0";
const std::string kTimeout = P + "4.4.3";
const std::string kManagerStatus = P + "4.10.1.1";
const std::string kVlan = P + "4.10.1.2";
const std::string kStart = P + "4.10.1.4.1.2.";
const std::string kEnd = P + "4.10.1.4.1.3.";

std::string ip(const char *dotted)
{
    unsigned a, b, c, d;
    std::sscanf(dotted, "%u.%u.%u.%u", &a, &b, &c, &d);
    return {char(a), char(b), char(c), char(d)};
}

class AdminPage : public PageFixture<TFM_Admin2>
{
protected:
    void openAndWait(int shownRanges = 0)
    {
        openPage();
        waitForRanges(shownRanges);
    }
    // The range lists are read in the background.
    void waitForRanges(int shown)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return find<QTreeWidget>("ListView_IpRange")->topLevelItemCount() == 4
                && shownRows() == shown;
        }, 10000)) << "shown " << shownRows();
        QTest::qWait(50);
        EXPECT_EQ(shownRows(), shown);
    }
    int shownRows() { return find<QTreeWidget>("ListView_User")->topLevelItemCount(); }
    void addRange(const QString &from, const QString &to)
    {
        type("Ed_FromIP", from);
        type("Ed_ToIP", to);
        click("Btn_Add");
    }
    void setRow(int row, const char *start, const char *end)
    {
        ASSERT_TRUE(client->setIp(kStart + std::to_string(row), start).ok());
        ASSERT_TRUE(client->setIp(kEnd + std::to_string(row), end).ok());
    }
    void setPassword(const char *password) { ASSERT_TRUE(client->setBytes(kPassword, password).ok()); }
};

} // namespace

TEST_F(AdminPage, OpensWithTheDeviceSettingsAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    setPassword("secret1");
    ASSERT_TRUE(client->setInt(kManagerStatus, 1).ok());
    ASSERT_TRUE(client->setInt(kSsh, 0).ok());
    openAndWait();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(page->windowTitle(), "Tools \\ Administrator Settings");
    EXPECT_EQ(edit("Ed_Usr")->text(), "admin");
    for (const char *name : {"Ed_OPwd", "Ed_NPwd", "Ed_CNP"}) {
        EXPECT_EQ(edit(name)->text(), "secret1") << name;
        EXPECT_EQ(edit(name)->echoMode(), QLineEdit::Password) << name;
    }
    EXPECT_TRUE(check("CheckBox_VID")->isChecked());
    EXPECT_TRUE(edit("Ed_VID")->isEnabled());
    EXPECT_FALSE(check("CkBx_ManagerState")->isChecked());
    EXPECT_FALSE(edit("Ed_FromIP")->isEnabled());
    EXPECT_EQ(find<VrRadioGroup>("RadioGroup1")->itemIndex(), 1); // Telnet
    EXPECT_TRUE(combo("CB_Timeout")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("GB_Trap")->isVisible());
    EXPECT_FALSE(find<QPushButton>("Btn_Del")->isEnabled());
    expectFitsScreen();
}

TEST_F(AdminPage, RangesAddedOneAtATimeAndAFifthRefusedFirst)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    check("CkBx_ManagerState")->click();
    ASSERT_TRUE(edit("Ed_FromIP")->isEnabled());

    addRange("192.168.1.20", "192.168.1.10");
    EXPECT_EQ(boxes.lastText(), "Invalid IP address range for Administrator!");
    addRange("192.168.1.10", "192.168.2.20");
    EXPECT_EQ(boxes.lastText(), "The Two IP address is not in the same subnet,Please check...");
    addRange("192.168.1.10.5", "192.168.1.20");
    EXPECT_EQ(boxes.lastText(), "Please input valid IP address");
    EXPECT_EQ(boxes.calls().last().caption, "Waring");
    EXPECT_TRUE(edit("Ed_FromIP")->text().isEmpty());
    EXPECT_EQ(sets(), 0);

    // Leading zeros are the decimal parts the device lists.
    addRange("192.168.001.010", "192.168.1.020");
    waitForRanges(1);
    EXPECT_EQ(status(), "Set OK!");
    EXPECT_EQ(text(kStart + "1"), ip("192.168.1.10"));
    EXPECT_EQ(text(kEnd + "1"), ip("192.168.1.20"));
    addRange("192.168.1.10", "192.168.1.20");
    EXPECT_EQ(boxes.lastText(), "The same IP range has been added");

    for (int i = 2; i <= 4; ++i) {
        addRange(QStringLiteral("10.0.%1.1").arg(i), QStringLiteral("10.0.%1.9").arg(i));
        waitForRanges(i);
    }
    QTreeWidget *shown = find<QTreeWidget>("ListView_User");
    EXPECT_EQ(shown->topLevelItem(3)->text(0), "4");
    EXPECT_EQ(shown->topLevelItem(3)->text(1), "10.0.4.1");
    EXPECT_EQ(shown->headerItem()->text(2), "End");

    const int before = sets();
    boxes.clear();
    addRange("not an address", "192.168.9.1");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Maximum numbers of IP Range List is 4!!");
    EXPECT_TRUE(edit("Ed_FromIP")->text().isEmpty());
    EXPECT_EQ(sets(), before);
}

TEST_F(AdminPage, RangeTheDeviceDoesNotTakeIsNotReportedAsAdded)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    VrSetTimeScale(0.001); // the page's 100 s time-out becomes 100 ms
    const auto restore = qScopeGuard([] { VrSetTimeScale(1.0); });
    openAndWait();
    check("CkBx_ManagerState")->click();
    kill(device.pid(), SIGUSR1); // the device falls silent
    addRange("192.168.1.10", "192.168.1.20");
    EXPECT_EQ(status(), "Setting Error!");
    EXPECT_EQ(edit("Ed_FromIP")->text(), "192.168.1.10"); // kept for another try
    kill(device.pid(), SIGUSR2);
    EXPECT_EQ(text(kStart + "1"), ip("0.0.0.0"));
}

TEST_F(AdminPage, DeleteFreesTheSelectedRange)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    setRow(2, "10.0.0.1", "10.0.0.9");
    setRow(3, "10.0.1.1", "10.0.1.9");
    openAndWait(2);
    QTreeWidget *shown = find<QTreeWidget>("ListView_User");
    shown->setCurrentItem(shown->topLevelItem(1));
    ASSERT_TRUE(find<QPushButton>("Btn_Del")->isEnabled());
    click("Btn_Del");
    waitForRanges(1);
    EXPECT_EQ(status(), "Delete OK!");
    EXPECT_EQ(text(kStart + "3"), ip("0.0.0.0"));
    EXPECT_EQ(text(kStart + "2"), ip("10.0.0.1"));
    EXPECT_EQ(shown->topLevelItem(0)->text(1), "10.0.0.1");
}

TEST_F(AdminPage, NoFreeRowIsRefusedAndNothingWritten)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    setRow(1, "10.0.0.1", "10.0.0.9");
    setRow(2, "10.0.1.1", "10.0.1.9");
    setRow(3, "10.0.2.1", "10.0.2.9");
    setRow(4, "0.0.0.0", "10.0.3.9"); // not listed, and not free either
    const int before = sets();
    openAndWait(3);
    check("CkBx_ManagerState")->click();
    addRange("192.168.1.10", "192.168.1.20");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The device has no free IP range entry; delete a range first.");
    EXPECT_EQ(sets(), before);
    EXPECT_EQ(text(kEnd + "4"), ip("10.0.3.9"));
}

TEST_F(AdminPage, SaveWithNoConsoleLeavesTheTimeout)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    find<VrRadioGroup>("RadioGroup1")->button(0)->click();
    EXPECT_FALSE(combo("CB_Timeout")->isEnabled());
    type("Ed_VID", "4094");
    type("Ed_SysName", "roof-ap");
    click("OK");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Set OK!");
    EXPECT_EQ(number(kTelnet), 0);
    EXPECT_EQ(number(kSsh), 0);
    EXPECT_EQ(setsOf(kTimeout), 0);
    EXPECT_EQ(text("1.3.6.1.2.1.1.5.0"), "roof-ap");
    // Without the VID limit the tag is not written.
    EXPECT_EQ(setsOf(kVlan), 0);
    EXPECT_EQ(setsOf(kManagerStatus), 1);

    find<VrRadioGroup>("RadioGroup1")->button(2)->click();
    choose("CB_Timeout", "15Mins");
    check("CheckBox_VID")->click();
    type("Ed_VID", "4094");
    click("OK");
    EXPECT_EQ(status(), "Set OK!");
    EXPECT_EQ(number(kSsh), 1);
    EXPECT_EQ(number(kTelnet), 0);
    EXPECT_EQ(setsOf(kTelnet), 1);
    EXPECT_EQ(number(kTimeout), 5);
    EXPECT_EQ(number(kVlan), 4094);
    EXPECT_EQ(number(kManagerStatus), 1);
}

TEST_F(AdminPage, RefusedSavesWriteNothing)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    setPassword("secret1");
    openAndWait();
    struct Case { const char *field; QString value; const char *text; };
    const Case cases[] = {
        {"Ed_OPwd", "secret2", "Please input the current password correctly!"},
        {"Ed_Usr", QString::fromUtf8("adm\xC3\xAEn"), "Invaild UserName!"},
        {"Ed_Usr", "ad min", "Invaild UserName!"},
        {"Ed_CNP", "secret9", "Please input the confirm new password correctly!"},
        {"Ed_VID", "0", "The VID value range is 1~4094."},
        {"Ed_VID", "4095", "The VID value range is 1~4094."},
    };
    check("CheckBox_VID")->click();
    const int before = sets();
    for (const Case &c : cases) {
        type("Ed_VID", "7");
        type("Ed_OPwd", "secret1");
        type("Ed_Usr", "admin");
        type("Ed_NPwd", "secret1");
        type("Ed_CNP", "secret1");
        edit(c.field)->setText(c.value);
        boxes.clear();
        click("OK");
        // Leaving the VID field with 4095 also draws the field's own range message.
        ASSERT_GE(boxes.count(), 1) << c.text;
        EXPECT_EQ(boxes.lastText(), c.text);
        EXPECT_EQ(boxes.calls().last().caption, "Warning");
        EXPECT_EQ(sets(), before) << c.text;
    }
    // Typing a 65th character is not possible; a password of 64 is saved.
    const QString longest(64, QLatin1Char('k'));
    type("Ed_OPwd", "secret1");
    type("Ed_Usr", "admin");
    type("Ed_VID", "12a"); // the field takes digits only
    EXPECT_EQ(edit("Ed_VID")->text(), "12");
    type("Ed_NPwd", longest + "k");
    type("Ed_CNP", longest);
    EXPECT_EQ(edit("Ed_NPwd")->text(), longest);
    boxes.clear();
    click("OK");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(kPassword), longest.toStdString());
    EXPECT_EQ(number(kVlan), 12);
    EXPECT_EQ(QString::fromStdString(device.log()).contains(longest), false);
}

TEST_F(AdminPage, AfterAPasswordChangeTheNewOneIsTheCurrentPassword)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    setPassword("secret1");
    openAndWait();
    type("Ed_NPwd", "secret2");
    type("Ed_CNP", "secret2");
    click("OK");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Set OK!");
    ASSERT_EQ(text(kPassword), "secret2");

    type("Ed_OPwd", "secret2");
    type("Ed_SysName", "roof-ap");
    click("OK");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Set OK!");
    EXPECT_EQ(text("1.3.6.1.2.1.1.5.0"), "roof-ap");

    const int before = sets();
    type("Ed_OPwd", "secret1");
    click("OK");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Please input the current password correctly!");
    EXPECT_EQ(sets(), before);
    EXPECT_EQ(text(kPassword), "secret2");
}
