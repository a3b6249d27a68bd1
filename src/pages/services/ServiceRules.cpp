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

namespace {

bool isSetAddress(const QString &text)
{
    return !text.isEmpty() && text != kZeroAddress && IsValidIPAddress(text);
}

bool isSetMask(const QString &text)
{
    return !text.isEmpty() && text != kZeroAddress && IsValidSubnetMask(text);
}

// An optional address: empty is "0.0.0.0", anything else must be an address.
bool optionalAddress(const QString &text, const char *field, WanPlan &plan)
{
    if (text.isEmpty()) {
        plan.fills.emplace_back(QString::fromLatin1(field), kZeroAddress);
        return true;
    }
    return IsValidIPAddress(text);
}

const QString kHostMask = QStringLiteral("255.255.255.0");

ServiceCheck checkStatic(const WanInput &in, WanPlan &plan)
{
    if (!IsValidIPAddress(in.staticIp))
        return problem("Please input valid static IP address", kWaring, "Edt_StaticIP", true);
    const QString wanNet = NetworkText(in.staticIp, in.staticMask);
    if (!wanNet.isEmpty() && wanNet == NetworkText(in.lanIp, in.lanMask))
        return problem("The LAN IP address and WAN IP addresses should  not be in the same network! ", kWarning,
                       "Edt_StaticIP", true);
    if (!isSetMask(in.staticMask))
        return problem("Please input valid static SubMask.", kWaring, "Edt_StaticSubmask", true);
    if (!isSetAddress(in.staticGateway))
        return problem("Please input valid static Gateway.", kWaring, "Edt_StaticGateway", true);
    if (!SameNetwork(in.staticIp, in.staticGateway, kHostMask))
        return problem("The Gateway and Router addresses should be in the same network! ", kWarning,
                       "Edt_StaticGateway", true);
    if (!isSetAddress(in.staticDns1))
        return problem("Please input valid static primary DNS.", kWaring, "Edt_StaticPDNS", true);
    if (!optionalAddress(in.staticDns2, "Edt_StaticSDNS", plan))
        return problem("Please input valid static Secordary DNS.", kWaring, "Edt_StaticSDNS", true);
    if (!IsValidMtu(WanStatic, in.staticMtu))
        return problem("Please input valid Static MTU.", kWaring, "Edt_StaticMTU", true);
    plan.settings = {WsPrimaryDns, WsSecondaryDns};
    return std::nullopt;
}

ServiceCheck checkDynamic(const WanInput &in, WanPlan &plan)
{
    if (!IsValidHostName(in.hostName))
        return problem("Please input valid host name!", kWarning, "Edt_Dyhostname", true);
    if (!optionalAddress(in.dynamicDns1, "Edt_DyPDNS", plan))
        return problem("Please input valid Dynamic Primary DNS.", kWaring, "Edt_DyPDNS", true);
    if (!optionalAddress(in.dynamicDns2, "Edt_DySDNS", plan))
        return problem("Please input valid Dynamic Secordary DNS.", kWaring, "Edt_DySDNS", true);
    if (!IsValidMtu(WanDynamic, in.dynamicMtu))
        return problem("Please input valid Dynamic MTU.", kWaring, "Edt_DyMTU", true);
    // The DNS objects are shown in the static boxes: they carry the dynamic ones.
    plan.fills.emplace_back(QStringLiteral("Edt_StaticPDNS"), AddressOrZero(in.dynamicDns1));
    plan.fills.emplace_back(QStringLiteral("Edt_StaticSDNS"), AddressOrZero(in.dynamicDns2));
    plan.settings = {WsPrimaryDns, WsSecondaryDns, WsHostName};
    return std::nullopt;
}

ServiceCheck checkPppoe(const WanInput &in, WanPlan &plan)
{
    if (in.pppoeUser.isEmpty())
        return problem("Invaild user name!", kWarning, "Edt_PPPoEUser", true);
    if (in.pppoePassword != in.pppoeRetype)
        return problem("Please input the confirm password correctly!", kWarning, "Edt_PPPoERetype", true);
    plan.settings = {WsPrimaryDns, WsSecondaryDns, WsPppoeMode, WsPppoeUser, WsPppoePassword,
                     WsPppoeService, WsPppoeIp, WsPppoeGetDns, WsConnectMode};
    if (in.pppoeStatic) {
        if (!IsValidIPAddress(in.pppoeIp))
            return problem("Please input valid PPPoE IP address.", kWaring, "Edt_PPPoEIP", true);
    } else {
        plan.settings.erase(WsPppoeIp);
    }
    if (in.pppoeManualDns) {
        if (!isSetAddress(in.pppoeDns1))
            return problem("Please input valid PPPoE primary DNS.", kWaring, "Edt_PPPoEPDNS", true);
        if (!optionalAddress(in.pppoeDns2, "Edt_PPPoESDNS", plan))
            return problem("Please input valid PPPoE Secordary DNS.", kWaring, "Edt_PPPoESDNS", true);
        plan.fills.emplace_back(QStringLiteral("Edt_StaticPDNS"), in.pppoeDns1);
        plan.fills.emplace_back(QStringLiteral("Edt_StaticSDNS"), AddressOrZero(in.pppoeDns2));
    } else {
        plan.settings.erase(WsPrimaryDns);
        plan.settings.erase(WsSecondaryDns);
    }
    if (!IsValidMtu(WanPppoe, in.pppoeMtu))
        return problem("Please input valid PPPOE MTU.", kWaring, "Edt_PPPoEMTU", true);
    return std::nullopt;
}

ServiceCheck checkPptp(const WanInput &in, WanPlan &plan)
{
    plan.settings = {WsPptpMode, WsPptpIp, WsPptpMask, WsPptpGateway, WsPptpDns, WsPptpServer, WsPptpAccount,
                     WsPptpPassword};
    if (in.pptpStatic) {
        if (!IsValidIPAddress(in.pptpIp))
            return problem("Please input valid PPTP IP address", kWaring, "Edt_PPTPIP", true);
        if (!isSetMask(in.pptpMask))
            return problem("Please input valid PPTP SubMask.", kWaring, "Edt_PPTPSubmask", true);
        if (!optionalAddress(in.pptpGateway, "Edt_PPTPGateway", plan))
            return problem("Please input valid PPTP Gateway.", kWaring, "Edt_PPTPGateway", true);
        // The address must reach its gateway; without one there is nothing to compare.
        if (!in.pptpGateway.isEmpty() && !SameNetwork(in.pptpIp, in.pptpGateway, kHostMask))
            return problem("The Gateway and Router address should be the same network! ", kWarning,
                           "Edt_PPTPGateway", true);
        if (!optionalAddress(in.pptpDns, "Edt_PPTPDNS", plan))
            return problem("Please input valid PPTP primary DNS.", kWaring, "Edt_PPTPDNS", true);
    } else {
        for (int s : {WsPptpIp, WsPptpMask, WsPptpGateway, WsPptpDns})
            plan.settings.erase(s);
    }
    if (in.pptpPassword != in.pptpRetype)
        return problem("Please input the confirm password correctly!", kWarning, "Edt_PPTPRetype", true);
    if (in.pptpServer.isEmpty())
        return problem("Server IP/Name can not be empty!", kWarning, "Edt_PPTPSever", true);
    if (!IsValidHostName(in.pptpServer))
        return problem("Please input valid the host name!", kWarning, "Edt_PPTPSever", true);
    if (in.pptpAccount.isEmpty())
        return problem("Account can not be empty!", kWarning, "Edt_PPTPAccount", true);
    if (!IsValidMtu(WanPptp, in.pptpMtu))
        return problem("Please input valid PPTP MTU.", kWaring, "Edt_PPTPMTU", true);
    return std::nullopt;
}

} // namespace

WanCheck CheckWanInput(const WanInput &input)
{
    WanCheck result;
    switch (input.type) {
    case WanStatic:
        result.problem = checkStatic(input, result.plan);
        break;
    case WanDynamic:
        result.problem = checkDynamic(input, result.plan);
        break;
    case WanPppoe:
        result.problem = checkPppoe(input, result.plan);
        break;
    case WanPptp:
        result.problem = checkPptp(input, result.plan);
        break;
    }
    return result;
}
