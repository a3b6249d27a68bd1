// Advanced > Schedule against the simulated access point.
#include "ServicesPageFixture.h"
#include "TFM_Scheduling.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

using namespace svctest;
const std::string kStatus = P + "4.11.2.1.2.1";
const std::string kDelete = P + "4.11.1.0";
std::string cell(int n, int row) { return P + "4.11.2.1." + std::to_string(n) + "." + std::to_string(row); }

class SchedulePage : public PageTest<TFM_Scheduling>
{
protected:
    void openAndWait()
    {
        openPage();
        ASSERT_TRUE(waitFor([this] { return !page->Busy(); }));
    }
    void waitIdle() { ASSERT_TRUE(waitFor([this] { return !page->Busy(); })); }
    void seedRule(int row, const std::string &name, long days, bool active = false)
    {
        ASSERT_TRUE(client->setBytes(cell(3, row), name).ok());
        ASSERT_TRUE(client->setInt(cell(4, row), days).ok());
        ASSERT_TRUE(client->setBytes(cell(6, row), "08:00").ok());
        ASSERT_TRUE(client->setBytes(cell(7, row), "17:30").ok());
        ASSERT_TRUE(client->setInt(cell(9, row), active ? 1 : 0).ok());
    }
    void enableScheduling()
    {
        check("CheckBox_SchEnable", true);
    }
    void times(const QString &sh, const QString &sm, const QString &eh, const QString &em)
    {
        type("Ed_StartHour", sh);
        type("Ed_StartMinute", sm);
        type("Ed_EndHour", eh);
        type("Ed_EndMinute", em);
    }
};

TEST_F(SchedulePage, ARuleFromSevenFiveIsWrittenWithLeadingZerosAndListedByItsDays)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    EXPECT_EQ(result("StatusBar1"), "Get OK!");
    EXPECT_FALSE(edit("Ed_ScheduleName")->isEnabled()); // scheduling is off
    enableScheduling();
    ASSERT_TRUE(find<QPushButton>("Btn_Add")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Btn_Del")->isEnabled());
    type("Ed_ScheduleName", "office");
    check("CheckBox_Mon", true);
    check("CheckBox_Sun", true);
    times("7", "5", "18", "30");
    click("Btn_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    waitIdle();
    EXPECT_EQ(text(cell(3, 1)), "office");
    EXPECT_EQ(number(cell(4, 1)), 3);
    EXPECT_EQ(text(cell(6, 1)), "07:05");
    EXPECT_EQ(text(cell(7, 1)), "18:30");
    EXPECT_EQ(number(cell(9, 1)), 1);
    ASSERT_EQ(column("User_ListView", 0), QStringList{"office"});
    EXPECT_EQ(column("User_ListView", 1), QStringList{"Mon Sun"});
    EXPECT_EQ(column("User_ListView", 2), QStringList{"07:05-18:30"});
    EXPECT_EQ(list("User_ListView")->topLevelItem(0)->data(0, Qt::UserRole + 1).toInt(), 1);
    expectFits();
}

// A rule added with scheduling just switched on keeps it on (on the device
// and on the page, so the next Save does not switch it off) and becomes the
// only active rule.
TEST_F(SchedulePage, AddSwitchesSchedulingOnAndMakesTheNewRuleTheOnlyActiveOne)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    seedRule(1, "a", 127, true);
    openAndWait();
    enableScheduling();
    type("Ed_ScheduleName", "b");
    check("CheckBox_Mon", true);
    check("CheckBox_AllDay", true);
    click("Btn_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    waitIdle();
    EXPECT_EQ(number(kStatus), 1);
    EXPECT_TRUE(find<QCheckBox>("CheckBox_SchEnable")->isChecked());
    EXPECT_TRUE(edit("Ed_ScheduleName")->isEnabled());
    EXPECT_EQ(number(cell(9, 1)), 0);
    EXPECT_EQ(number(cell(9, 2)), 1);
    ASSERT_EQ(column("User_ListView", 0), QStringList({"a", "b"}));
    EXPECT_EQ(list("User_ListView")->topLevelItem(0)->data(0, Qt::UserRole + 1).toInt(), 0);
    EXPECT_EQ(list("User_ListView")->topLevelItem(1)->data(0, Qt::UserRole + 1).toInt(), 1);
    click("Btn_Apply");
    waitIdle();
    EXPECT_EQ(number(kStatus), 1);
}

TEST_F(SchedulePage, HourTwentyFourAndMinuteSixtyPassButHourTwentyFiveAndJunkDoNot)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    enableScheduling();
    type("Ed_ScheduleName", "night");
    check("CheckBox_Fri", true);
    const struct {
        const char *sh, *sm, *eh, *em, *message, *field;
    } refused[] = {
        {"25", "0", "6", "0", "Invalid Hour!", "Ed_StartHour"},
        {"1", "61", "6", "0", "Invalid Minute!", "Ed_StartMinute"},
        {"1", "0", "ab", "0", "Invalid Hour!", "Ed_EndHour"},
        {"1", "0", "6", "", "Invalid Minute!", "Ed_EndMinute"},
    };
    for (const auto &c : refused) {
        boxes.clear();
        times(c.sh, c.sm, c.eh, c.em);
        click("Btn_Add");
        ASSERT_EQ(boxes.count(), 1) << c.field;
        EXPECT_EQ(boxes.lastText(), c.message);
        EXPECT_EQ(boxes.calls()[0].caption, "Warning");
        EXPECT_EQ(edit(c.field)->text(), "") << c.field;
    }
    EXPECT_EQ(setsOf(cell(3, 1)), 0);

    boxes.clear();
    times("0", "0", "24", "60");
    click("Btn_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    waitIdle();
    EXPECT_EQ(text(cell(6, 1)), "00:00");
    EXPECT_EQ(text(cell(7, 1)), "24:60");
    EXPECT_EQ(column("User_ListView", 1), QStringList{"Fri"});
}

TEST_F(SchedulePage, AnEmptyNameOrNoDayIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openAndWait();
    enableScheduling();
    click("Btn_Add");
    EXPECT_EQ(boxes.lastText(), "The Name field can not be blank.");
    type("Ed_ScheduleName", "x");
    check("CheckBox_AllDay", true);
    click("Btn_Add");
    EXPECT_EQ(boxes.lastText(), "Please Select Day(s)");
    EXPECT_EQ(setsOf(cell(3, 1)), 0);
    EXPECT_EQ(setsOf(cell(4, 1)), 0);
}

TEST_F(SchedulePage, FourRulesDisableAddAndSaveMakesTheChosenOneTheOnlyActiveRule)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    seedRule(1, "a", 127, true);
    seedRule(2, "b", 2);
    seedRule(3, "c", 64);
    seedRule(4, "d", 65);
    ASSERT_TRUE(client->setInt(kStatus, 1).ok());
    openAndWait();
    EXPECT_EQ(column("User_ListView", 1), QStringList({"All Week", "Mon", "Sat", "Sat Sun"}));
    EXPECT_EQ(column("User_ListView", 2).first(), "08:00-17:30");
    EXPECT_FALSE(find<QPushButton>("Btn_Add")->isEnabled());

    clickRow("User_ListView", 2);
    EXPECT_EQ(edit("Ed_ScheduleName")->text(), "c");
    EXPECT_TRUE(find<QCheckBox>("CheckBox_Sat")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("CheckBox_Sun")->isChecked());
    EXPECT_EQ(edit("Ed_EndMinute")->text(), "30");
    EXPECT_TRUE(find<QPushButton>("Btn_Add")->isEnabled()); // editing the rule
    click("Btn_Apply");
    waitIdle();
    EXPECT_EQ(number(cell(9, 1)), 0);
    EXPECT_EQ(number(cell(9, 3)), 1);
    EXPECT_EQ(list("User_ListView")->topLevelItem(2)->data(0, Qt::UserRole + 1).toInt(), 1);
    EXPECT_EQ(list("User_ListView")->topLevelItem(0)->data(0, Qt::UserRole + 1).toInt(), 0);

    clickRow("User_ListView", -1); // empty space: the table is full
    EXPECT_FALSE(find<QPushButton>("Btn_Add")->isEnabled());
}

TEST_F(SchedulePage, DeleteAsksAndANewRuleGoesIntoTheFreedRow)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    seedRule(1, "a", 1);
    seedRule(2, "b", 2);
    ASSERT_TRUE(client->setInt(kStatus, 1).ok());
    openAndWait();
    clickRow("User_ListView", 0);
    boxes.setAnswer(QMessageBox::Cancel);
    click("Btn_Del");
    EXPECT_EQ(boxes.lastText(), "Are you sure that you want to delete this entry?");
    EXPECT_EQ(text(cell(3, 1)), "a");
    boxes.setAnswer(QMessageBox::Ok);
    click("Btn_Del");
    waitIdle();
    EXPECT_EQ(text(cell(3, 1)), "");
    EXPECT_EQ(column("User_ListView", 0), QStringList{"b"});

    // Row 1 is free again while row 2 holds "b": the new rule must not replace it.
    type("Ed_ScheduleName", "c");
    check("CheckBox_AllDay", true);
    check("CheckBox_Tue", true);
    EXPECT_TRUE(find<QPushButton>("Btn_Add")->isEnabled());
    EXPECT_EQ(edit("Ed_ScheduleName")->text(), "c");
    EXPECT_TRUE(find<QCheckBox>("CheckBox_Tue")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("CheckBox_AllDay")->isChecked());
    click("Btn_Add");
    EXPECT_EQ(boxes.lastText(), "Are you sure that you want to delete this entry?");
    waitIdle();
    EXPECT_EQ(result("StatusBar1"), "Get OK!") << find<VrStatusBar>("StatusBar1")->panel(1)->text().toStdString();
    EXPECT_EQ(text(cell(3, 1)), "c");
    EXPECT_EQ(text(cell(3, 2)), "b");
    EXPECT_EQ(column("User_ListView", 2), QStringList({"All Day(s) - 24hrs", "08:00-17:30"}));
}

TEST_F(SchedulePage, ATableTheDeviceDoesNotServeIsReportedInTheStatusBar)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", P + "4.11.2.1.3.1=5"}));
    openPage();
    ASSERT_TRUE(waitFor([this] { return !page->Busy(); }));
    EXPECT_NE(result("StatusBar1"), "Get OK!");
    EXPECT_FALSE(result("StatusBar1").isEmpty());
    EXPECT_EQ(list("User_ListView")->topLevelItemCount(), 0);
}

} // namespace
