#include "RouterRules.h"

#include "AddressValidators.h"

#include <QStringList>

namespace Router {

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kWaring = QStringLiteral("Waring");

Refusal refuse(const char *text, const QString &title, const char *field = "", bool clear = false)
{
    return Refusal{QString::fromLatin1(text), title, QString::fromLatin1(field), clear};
}

// The four dotted numbers, or nothing when the text is not of that form.
std::optional<quint32> addressValue(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 value = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint n = part.toUInt(&ok);
        if (!ok || n > 255)
            return std::nullopt;
        value = value << 8 | n;
    }
    return value;
}

} // namespace

std::optional<int> PortValue(const QString &text, int min, int max)
{
    // Digits only: no sign, no blanks, nothing that toInt would also take.
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int n = text.toInt();
    if (n < min || n > max)
        return std::nullopt;
    return n;
}

QString RangeText(const QString &start, const QString &end)
{
    return start + QLatin1Char('~') + end;
}

bool SameNetwork24(const QString &a, const QString &b)
{
    const auto x = addressValue(a);
    const auto y = addressValue(b);
    return x && y && (*x & 0xffffff00u) == (*y & 0xffffff00u);
}

QString PrivateEnd(const QString &publicStart, const QString &publicEnd, const QString &privateStart)
{
    bool a = false, b = false, c = false;
    const long start = publicStart.toLong(&a);
    const long end = publicEnd.toLong(&b);
    const long privStart = privateStart.toLong(&c);
    if (!a || !b || !c)
        return QString();
    return QString::number(end + privStart - start);
}

Check CheckUrl(const QString &url, const QStringList &listed)
{
    bool valid = !url.isEmpty() && url.size() <= kUrlLength;
    for (const QChar c : url) {
        const ushort u = c.unicode();
        const bool allowed = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '.'
                             || u == '_' || u == '-';
        valid = valid && allowed;
    }
    if (!valid)
        return refuse("Invalid Website URL!", kWarning, "Edt_WebURL");
    if (listed.contains(url))
        return refuse("Reject: The URL has already exist ", kWarning, "Edt_WebURL");
    return std::nullopt;
}

Check CheckPortForward(const PortForwardInput &in)
{
    if (in.name.isEmpty())
        return refuse("The Name field can not be blank.", kWarning, "Edt_Name");
    if (in.ip.isEmpty() || in.ip == QLatin1String("0.0.0.0"))
        return refuse("Invalid IP address!", kWarning, "Edt_IPAddr");
    if (!IsValidIPAddress(in.ip))
        return refuse("Invalid IP address!", kWaring, "Edt_IPAddr", true);
    if (!SameNetwork24(in.ip, in.routerIp))
        return refuse("The IP address and Router address should be the same network! ", kWarning, "Edt_IPAddr");
    if (in.publicStart.isEmpty())
        return refuse("The field can not be blank!", kWaring, "Edt_PubPortRangeStart");
    const struct {
        const QString &text;
        const char *field;
    } ports[] = {{in.publicStart, "Edt_PubPortRangeStart"},
                 {in.publicEnd, "Edt_PubPortRangeEnd"},
                 {in.privateStart, "Edt_PriPortRangeStart"}};
    for (const auto &port : ports)
        if (!PortValue(port.text, 1, 65535))
            return refuse("Invaild port value!", kWaring, port.field, true);
    if (in.publicEnd.toInt() < in.publicStart.toInt())
        return refuse("The end port should be equle and geater than the start port!", kWaring, "Edt_PubPortRangeEnd",
                      true);
    // The private range is as wide as the public one; it must not run past
    // the last port either.
    if (!PortValue(PrivateEnd(in.publicStart, in.publicEnd, in.privateStart), 1, 65535))
        return refuse("Invaild port value!", kWaring, "Edt_PriPortRangeStart", true);
    return std::nullopt;
}

Check CheckFilterMac(const QString &mac, const QStringList &listed)
{
    if (mac.size() != kMacLength)
        return refuse("The length is 12 in MAC Address.", QStringLiteral("Error"), "Edt_MACAddress");
    for (const QChar c : mac)
        if (!QStringLiteral("0123456789abcdefABCDEF").contains(c))
            return refuse("Please input a valid MAC Address.", kWarning, "Edt_MACAddress");
    if (mac == QLatin1String("000000000000"))
        return refuse("Please input a valid MAC Address.", kWarning, "Edt_MACAddress");
    if (listed.contains(mac, Qt::CaseInsensitive))
        return refuse("Reject: The MAC already exists ", kWarning, "Edt_MACAddress");
    return std::nullopt;
}

bool ProtocolHasPorts(const QString &protocol)
{
    return protocol == QLatin1String("TCP") || protocol == QLatin1String("UDP");
}

Check CheckFirewallRule(const FirewallInput &in)
{
    if (!IsValidIPAddress(in.sourceStart))
        return refuse("Please input valid Source Start IP address", kWaring, "Edt_SourceIPStart", true);
    if (!IsValidIPAddress(in.sourceEnd))
        return refuse("Please input valid Source End IP address", kWaring, "Edt_SourceIPEnd", true);
    if (*addressValue(in.sourceEnd) < *addressValue(in.sourceStart))
        return refuse("Invalid Soure IP address range!", kWarning, "Edt_SourceIPEnd");
    // Told before anything of the destination is looked at.
    if (in.sourceInterface == in.destInterface)
        return refuse("The Source Interface and Destination Interface can not be same!", kWaring, "CB_DestInterface");
    if (!IsValidIPAddress(in.destStart))
        return refuse("Please input valid Destination Start IP address", kWaring, "Edt_DestIPStart", true);
    if (!IsValidIPAddress(in.destEnd))
        return refuse("Please input valid Destination End IP address", kWaring, "Edt_DestIPEnd", true);
    if (*addressValue(in.destEnd) < *addressValue(in.destStart))
        return refuse("Invalid Destination IP address range!", kWarning, "Edt_DestIPEnd");
    if (ProtocolHasPorts(in.protocol)) {
        const auto start = PortValue(in.portStart, 0, 65535);
        if (!start)
            return refuse("Invaild Port", kWaring, "Edt_PortRangeStart", true);
        const auto end = PortValue(in.portEnd, 0, 65535);
        // A range that ends before it starts matches nothing.
        if (!end || *end < *start)
            return refuse("Invaild Port", kWaring, "Edt_PortRangeEnd", true);
    }
    return std::nullopt;
}

Check CheckDmz(bool enabled, const QString &address)
{
    if (!enabled)
        return std::nullopt;
    if (address.isEmpty())
        return refuse("Please input valid IP address", kWarning, "Edt_DMZIPAddr");
    if (!IsValidIPAddress(address))
        return refuse("Please input valid IP address", kWaring, "Edt_DMZIPAddr", true);
    return std::nullopt;
}

bool RoomForRule(int listed, int limit, bool editing)
{
    return editing || listed < limit;
}

} // namespace Router
