#include "ServiceRules.h"

#include "AddressValidators.h"

#include <QStringList>
#include <limits>

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kWaring = QStringLiteral("Waring");
const QString kZeroAddress = QStringLiteral("0.0.0.0");

ServiceProblem problem(const char *text, const QString &caption, const char *field, bool clear = false)
{
    return {QString::fromLatin1(text), caption, QString::fromLatin1(field), clear};
}

// A port as typed: 1..65535.
bool validPort(const QString &text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535;
}

} // namespace

// --- QoS ---

std::optional<int> QosProtocolNumber(const QString &protocolText)
{
    if (protocolText == QLatin1String("Any"))
        return 256;
    if (protocolText == QLatin1String("TCP"))
        return 6;
    if (protocolText == QLatin1String("UDP"))
        return 17;
    if (protocolText == QLatin1String("Both"))
        return 257;
    if (protocolText == QLatin1String("ICMP"))
        return 1;
    return std::nullopt;
}

bool QosProtocolHasPorts(const QString &protocolText)
{
    return protocolText == QLatin1String("TCP") || protocolText == QLatin1String("UDP")
           || protocolText == QLatin1String("Both");
}

qint32 AddressCount(const QString &start, const QString &end)
{
    const auto from = AddressNumber(start);
    const auto to = AddressNumber(end);
    if (!from || !to || *to < *from)
        return 0;
    const qint64 count = qint64(*to) - qint64(*from) + 1;
    return qint32(qMin<qint64>(count, std::numeric_limits<qint32>::max()));
}

QString QosHostText(const QString &start, const QString &end, bool anyWhenUnset)
{
    if (anyWhenUnset && start == kZeroAddress)
        return QStringLiteral("Any");
    return start + u'~' + end;
}

QString QosPortsText(const QString &start, const QString &end)
{
    if (start == QLatin1String("0"))
        return QStringLiteral("Any");
    return start + u'/' + (end == QLatin1String("0") ? start : end);
}

namespace {

// The port pair of one host: start, end and range columns.
ServiceCheck checkPorts(const QString &from, const QString &to, const char *fromField, const char *toField,
                        int fromColumn, QString &range, std::set<int> &excluded)
{
    const int toColumn = fromColumn + 1, rangeColumn = fromColumn + 2;
    if (from.isEmpty())
        excluded.insert({fromColumn, rangeColumn});
    else if (!validPort(from))
        return problem("Invalid port!", kWaring, fromField, true);
    if (to.isEmpty())
        excluded.insert({toColumn, rangeColumn});
    else if (!validPort(to))
        return problem("Invalid port!", kWaring, toField, true);
    if (from.isEmpty() || to.isEmpty())
        return std::nullopt;
    const int first = from.trimmed().toInt(), last = to.trimmed().toInt();
    if (last < first)
        return problem("Invalid Port Range!", kWaring, toField);
    range = QString::number(last - first + 1);
    return std::nullopt;
}

} // namespace

QosRuleCheck CheckQosRule(const QosRuleInput &in)
{
    QosRuleCheck result;
    QosRulePlan &plan = result.plan;
    const auto refuse = [&result](ServiceProblem p) {
        result.problem = std::move(p);
        return result;
    };
    if (in.name.isEmpty())
        return refuse(problem("The Name field can not be blank.", kWarning, "Ed_QosName"));
    if (in.ipFrom1.isEmpty() || in.ipFrom1 == kZeroAddress)
        return refuse(problem("Invalid IP address!", kWarning, "Ed_IpFrom1"));
    if (in.ipTo1 == kZeroAddress)
        return refuse(problem("Invalid IP address!", kWarning, "Ed_IpTo1"));
    if (in.ipTo2 == kZeroAddress)
        return refuse(problem("Invalid IP address!", kWarning, "Ed_IpTo2"));
    plan.ipTo1 = in.ipTo1.isEmpty() ? in.ipFrom1 : in.ipTo1;
    plan.ipTo2 = in.ipTo2.isEmpty() ? in.ipFrom2 : in.ipTo2;
    if (in.portTo1 == QLatin1String("0"))
        return refuse(problem("Invalid Port!", kWarning, "Ed_PortTo1"));
    if (in.portTo2 == QLatin1String("0"))
        return refuse(problem("Invalid Port!", kWarning, "Ed_PortTo2"));
    plan.portTo1 = in.portTo1.isEmpty() ? in.portFrom1 : in.portTo1;
    plan.portTo2 = in.portTo2.isEmpty() ? in.portFrom2 : in.portTo2;

    if (!IsValidIPAddress(in.ipFrom1))
        return refuse(problem("Invalid IP address!", kWaring, "Ed_IpFrom1", true));
    if (!IsValidIPAddress(plan.ipTo1))
        return refuse(problem("Invalid IP address!", kWaring, "Ed_IpTo1", true));
    if (*AddressNumber(plan.ipTo1) < *AddressNumber(in.ipFrom1))
        return refuse(problem("Invalid IP address Range!", kWarning, "Ed_IpTo1"));
    plan.ipRange1 = QString::number(AddressCount(in.ipFrom1, plan.ipTo1));

    if (QosProtocolHasPorts(in.protocol)) {
        if (auto p = checkPorts(in.portFrom1, plan.portTo1, "Ed_PortFrom1", "Ed_PortTo1", QcPortFrom1,
                                plan.portRange1, plan.excluded))
            return refuse(*p);
        if (auto p = checkPorts(in.portFrom2, plan.portTo2, "Ed_PortFrom2", "Ed_PortTo2", QcPortFrom2,
                                plan.portRange2, plan.excluded))
            return refuse(*p);
    } else {
        plan.excluded.insert({QcPortFrom1, QcPortTo1, QcPortRange1, QcPortFrom2, QcPortTo2, QcPortRange2});
    }

    if (in.ipFrom2.isEmpty())
        plan.excluded.insert({QcIpFrom2, QcIpRange2});
    else if (!IsValidIPAddress(in.ipFrom2))
        return refuse(problem("Invalid IP address!", kWaring, "Ed_IpFrom2", true));
    if (plan.ipTo2.isEmpty())
        plan.excluded.insert({QcIpTo2, QcIpRange2});
    else if (!IsValidIPAddress(plan.ipTo2))
        return refuse(problem("Invalid IP address!", kWaring, "Ed_IpTo2", true));
    if (!in.ipFrom2.isEmpty() && !plan.ipTo2.isEmpty()) {
        if (*AddressNumber(plan.ipTo2) < *AddressNumber(in.ipFrom2))
            return refuse(problem("Invalid IP address Range!", kWarning, "Ed_IpTo2"));
        plan.ipRange2 = QString::number(AddressCount(in.ipFrom2, plan.ipTo2));
    }
    return result;
}

// --- Schedule ---

int DayMask(const WeekDays &days)
{
    int mask = 0;
    for (size_t d = 0; d < days.size(); ++d)
        if (days[d])
            mask |= 1 << d;
    return mask;
}

WeekDays DaysOfMask(int mask)
{
    WeekDays days{};
    for (size_t d = 0; d < days.size(); ++d)
        days[d] = (mask >> d) & 1;
    return days;
}

QString DaysText(int mask)
{
    if (mask == AllWeekMask)
        return QStringLiteral("All Week");
    static const char *const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    QStringList set;
    for (int d = 6; d >= 0; --d)
        if ((mask >> d) & 1)
            set << QString::fromLatin1(names[d]);
    return set.join(u' ');
}

QString TimeFrameText(bool allDay, const QString &start, const QString &end)
{
    if (allDay)
        return QStringLiteral("All Day(s) - 24hrs");
    return start.trimmed() + u'-' + end.trimmed();
}

std::optional<QString> TimePart(const QString &text, int maximum)
{
    const QString t = text.trimmed();
    bool ok = false;
    const int value = t.toInt(&ok);
    if (t.isEmpty() || !ok || value < 0 || value > maximum)
        return std::nullopt;
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// --- Internet connection ---

int MtuMaximum(WanType type)
{
    switch (type) {
    case WanPppoe:
        return 1492;
    case WanPptp:
        return 1400;
    default:
        return 1500;
    }
}

bool IsValidMtu(WanType type, const QString &text)
{
    const int mtu = text.trimmed().toInt(); // 0 when not a number
    return mtu >= MtuMinimum && mtu <= MtuMaximum(type);
}

bool IsValidHostName(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '.'
                           || u == '_' || u == '-';
        if (!plain)
            return false;
    }
    return true;
}

QString NetworkText(const QString &address, const QString &mask)
{
    const auto a = AddressNumber(address);
    const auto m = AddressNumber(mask);
    if (!a || !m)
        return QString();
    const quint32 n = *a & *m;
    return QStringLiteral("%1.%2.%3.%4").arg(n >> 24).arg((n >> 16) & 255).arg((n >> 8) & 255).arg(n & 255);
}

bool SameNetwork(const QString &a, const QString &b, const QString &mask)
{
    const QString na = NetworkText(a, mask);
    return !na.isEmpty() && na == NetworkText(b, mask);
}
