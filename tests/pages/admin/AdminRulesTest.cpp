#include "AdminRules.h"

#include <gtest/gtest.h>

namespace {

AdminSaveInput goodInput()
{
    AdminSaveInput in;
    in.limitVid = true;
    in.vid = QStringLiteral("4094");
    in.oldPassword = in.passwordRead = QStringLiteral("old");
    in.user = QStringLiteral("ad.min_1-x@y");
    in.newPassword = in.confirmPassword = QString(64, QLatin1Char('p'));
    return in;
}

QString refusal(const AdminSaveInput &in)
{
    const auto r = CheckAdminSave(in);
    return r ? r->text : QString();
}

} // namespace

TEST(AdminRules, SaveChecksInOrder)
{
    EXPECT_EQ(refusal(goodInput()), QString());

    struct Case { void (*change)(AdminSaveInput &); const char *text; };
    const Case cases[] = {
        {[](AdminSaveInput &in) { in.vid = "0"; }, "The VID value range is 1~4094."},
        {[](AdminSaveInput &in) { in.vid = "4095"; }, "The VID value range is 1~4094."},
        {[](AdminSaveInput &in) { in.vid = "12a"; }, "The VID value range is 1~4094."},
        {[](AdminSaveInput &in) { in.vid = ""; }, "The VID value range is 1~4094."},
        {[](AdminSaveInput &in) { in.vid = ""; in.limitVid = false; }, ""},
        // The VID check comes before the password check.
        {[](AdminSaveInput &in) { in.vid = "0"; in.oldPassword = "x"; }, "The VID value range is 1~4094."},
        {[](AdminSaveInput &in) { in.oldPassword = "Old"; }, "Please input the current password correctly!"},
        {[](AdminSaveInput &in) { in.user.clear(); }, "Please input the login name!"},
        {[](AdminSaveInput &in) { in.user = QString(65, 'u'); }, "Please limit user name to 64 characters!"},
        {[](AdminSaveInput &in) { in.user = QString(64, 'u'); }, ""},
        {[](AdminSaveInput &in) { in.user = QString::fromUtf8("adm\xC3\xAEn"); }, "Invaild UserName!"},
        {[](AdminSaveInput &in) { in.user = "ad min"; }, "Invaild UserName!"},
        {[](AdminSaveInput &in) { in.newPassword = in.confirmPassword = QString(65, 'p'); },
         "Please limit password to 64 characters!"},
        {[](AdminSaveInput &in) { in.newPassword = in.confirmPassword = QString::fromUtf8("pa\xC3\x9F"); },
         "Please use only ASCII characters in the password!"},
        {[](AdminSaveInput &in) { in.confirmPassword = "other"; }, "Please input the confirm new password correctly!"},
    };
    for (const Case &c : cases) {
        AdminSaveInput in = goodInput();
        c.change(in);
        EXPECT_EQ(refusal(in), QString::fromLatin1(c.text)) << c.text;
    }
}

TEST(AdminRules, ConsoleAndManagerStates)
{
    EXPECT_EQ(ConsoleFrom(0, 0), Console::None);
    EXPECT_EQ(ConsoleFrom(1, 0), Console::Telnet);
    EXPECT_EQ(ConsoleFrom(0, 1), Console::Ssh);
    EXPECT_EQ(ConsoleFrom(1, 1), Console::Unknown);
    const ConsoleWrites none = ConsoleWritesFor(Console::None);
    EXPECT_TRUE(none.writeTelnet && none.writeSsh && !none.writeTimeout);
    const ConsoleWrites ssh = ConsoleWritesFor(Console::Ssh);
    EXPECT_TRUE(!ssh.writeTelnet && ssh.writeSsh && ssh.writeTimeout && ssh.ssh == 1 && ssh.telnet == 0);
    const ConsoleWrites unknown = ConsoleWritesFor(Console::Unknown);
    EXPECT_FALSE(unknown.writeTelnet || unknown.writeSsh || unknown.writeTimeout);

    for (int status = 0; status < 4; ++status)
        EXPECT_EQ(ManagerStatus(LimitsVid(status), LimitsIp(status)), status);
}

TEST(AdminRules, RangeAdd)
{
    const QList<RangeRow> rows{{"1", "10.0.0.1", "10.0.0.9"}, {"2", "0.0.0.0", "0.0.0.0"},
                               {"3", "0.0.0.0", "0.0.0.0"}, {"4", "0.0.0.0", "0.0.0.0"}};
    struct Case { int shown; const char *from; const char *to; const char *text; int row; };
    const Case cases[] = {
        {1, "192.168.1.10", "192.168.1.20", "", 1},
        // Leading zeros read as decimal, and the range as the device lists it.
        {1, "192.168.001.010", "192.168.1.020", "", 1},
        {4, "bad", "bad", "Maximum numbers of IP Range List is 4!!", -1},
        {1, "192.168.1.1.5", "192.168.1.20", "Please input valid IP address", -1},
        {1, "192.168.1.1", "192.168.1.255", "Please input valid IP address", -1},
        {1, "192.168.1.20", "192.168.1.10", "Invalid IP address range for Administrator!", -1},
        {1, "10.0.0.1", "10.0.0.9", "The same IP range has been added", -1},
        {1, "192.168.1.10", "192.168.2.20", "The Two IP address is not in the same subnet,Please check...", -1},
    };
    for (const Case &c : cases) {
        const RangeAdd plan = PlanRangeAdd(c.shown, c.from, c.to, rows);
        EXPECT_EQ(plan.refusal ? plan.refusal->text : QString(), QString::fromLatin1(c.text)) << c.from;
        EXPECT_EQ(plan.row, c.row) << c.from;
    }
    EXPECT_EQ(PlanRangeAdd(1, "192.168.001.010", "192.168.1.020", rows).start, "192.168.1.10");

    // A row whose start is free but whose end is not is neither listed nor free.
    const QList<RangeRow> full{{"1", "10.0.0.1", "10.0.0.9"}, {"2", "0.0.0.0", "10.0.0.5"}};
    const RangeAdd plan = PlanRangeAdd(1, "192.168.1.10", "192.168.1.20", full);
    ASSERT_TRUE(plan.refusal);
    EXPECT_EQ(plan.row, -1);
}
