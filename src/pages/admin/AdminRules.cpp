#include "AdminRules.h"

#include "AddressValidators.h"

#include <QStringList>

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kWaring = QStringLiteral("Waring");
const QString kFree = QStringLiteral("0.0.0.0");

bool isDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

bool IsValidUserName(const QString &name)
{
    for (const QChar c : name) {
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !digit && c != u'@' && c != u'.' && c != u'_' && c != u'-')
            return false;
    }
    return true;
}

std::optional<AdminRefusal> CheckAdminSave(const AdminSaveInput &in)
{
    // Anything outside 1..4094 is refused here too: the device would refuse
    // it after the console and login settings had already been written.
    if (in.limitVid && (!isDigits(in.vid) || in.vid.size() > 4 || in.vid.toInt() < 1 || in.vid.toInt() > 4094))
        return AdminRefusal{QStringLiteral("The VID value range is 1~4094."), kWarning, QStringLiteral("Ed_VID"), true};
    if (in.oldPassword != in.passwordRead)
        return AdminRefusal{QStringLiteral("Please input the current password correctly!"), kWarning, {}};

    const auto userProblem = [](const char *text) {
        return AdminRefusal{QString::fromLatin1(text), kWarning, QStringLiteral("Ed_Usr"), true, true};
    };
    if (in.user.isEmpty())
        return userProblem("Please input the login name!");
    if (in.user.size() >= 65)
        return userProblem("Please limit user name to 64 characters!");
    if (!IsValidUserName(in.user))
        return userProblem("Invaild UserName!");

    if (in.newPassword.size() >= 65)
        return AdminRefusal{QStringLiteral("Please limit password to 64 characters!"), kWarning,
                            QStringLiteral("Ed_NPwd"), true, true};
    // The device stores the password as single bytes; a character it cannot
    // hold would leave a password nobody can type.
    for (const QChar c : in.newPassword) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return AdminRefusal{QStringLiteral("Please use only ASCII characters in the password!"),
                                kWarning, QStringLiteral("Ed_NPwd"), true, true};
    }
    if (in.confirmPassword != in.newPassword)
        return AdminRefusal{QStringLiteral("Please input the confirm new password correctly!"), kWarning,
                            QStringLiteral("Ed_NPwd"), false, true};
    return std::nullopt;
}

int ManagerStatus(bool limitVid, bool limitIp)
{
    return (limitVid ? 1 : 0) | (limitIp ? 2 : 0);
}

bool LimitsVid(int status)
{
    return status == 1 || status == 3;
}

bool LimitsIp(int status)
{
    return status == 2 || status == 3;
}

Console ConsoleFrom(int telnet, int ssh)
{
    if (telnet == 0 && ssh == 0)
        return Console::None;
    if (telnet == 1 && ssh == 0)
        return Console::Telnet;
    if (telnet == 0 && ssh == 1)
        return Console::Ssh;
    return Console::Unknown;
}

ConsoleWrites ConsoleWritesFor(Console choice)
{
    switch (choice) {
    case Console::None:
        return {0, 0, true, true, false};
    case Console::Telnet:
        return {1, 0, true, false, true};
    case Console::Ssh:
        return {0, 1, false, true, true};
    case Console::Unknown:
        break;
    }
    return {};
}

QString CanonicalAddress(const QString &dotted)
{
    QStringList parts = dotted.split(u'.');
    for (QString &part : parts)
        part = QString::number(part.toUInt());
    return parts.join(u'.');
}

bool SameNetwork24(const QString &a, const QString &b)
{
    return (AddressNumber(a).value_or(0) & 0xFFFFFF00u)
        == (AddressNumber(b).value_or(0) & 0xFFFFFF00u);
}

bool RangeRow::isFree() const
{
    return start == kFree && end == kFree;
}

RangeAdd PlanRangeAdd(int shownRanges, const QString &from, const QString &to, const QList<RangeRow> &rows)
{
    RangeAdd plan;
    const auto refuse = [&plan](AdminRefusal r) {
        plan.refusal = std::move(r);
        plan.row = -1;
        return plan;
    };
    if (shownRanges >= MaxRanges)
        return refuse({QStringLiteral("Maximum numbers of IP Range List is 4!!"), kWaring, {}, false, true});
    for (const auto &[text, field] : {std::pair{from, "Ed_FromIP"}, std::pair{to, "Ed_ToIP"}}) {
        if (!IsValidIPAddress(text))
            return refuse({QStringLiteral("Please input valid IP address"), kWaring, QString::fromLatin1(field), true});
    }
    plan.start = CanonicalAddress(from);
    plan.end = CanonicalAddress(to);
    if (AddressNumber(plan.end).value_or(0) < AddressNumber(plan.start).value_or(0))
        return refuse({QStringLiteral("Invalid IP address range for Administrator!"), kWarning,
                       QStringLiteral("Ed_FromIP")});
    for (int i = 0; i < rows.size(); ++i) {
        const RangeRow &row = rows.at(i);
        if (row.start == plan.start && row.end == plan.end)
            return refuse({QStringLiteral("The same IP range has been added"), kWarning, {}, false, false, true});
        if (row.isFree()) {
            plan.row = i;
            break;
        }
    }
    if (!SameNetwork24(plan.start, plan.end))
        return refuse({QStringLiteral("The Two IP address is not in the same subnet,Please check..."), kWarning,
                       {}, false, false, true});
    // Fewer ranges listed than the limit, yet every row of the device's
    // table holds something: writing now would hit no row or a used one.
    if (plan.row < 0)
        return refuse({QStringLiteral("The device has no free IP range entry; delete a range first."), kWarning,
                       {}, false, false, true});
    return plan;
}
