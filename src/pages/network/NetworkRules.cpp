#include "NetworkRules.h"

#include "AddressValidators.h"

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kWaring = QStringLiteral("Waring");
const QString kError = QStringLiteral("Error");
const QString kZero = QStringLiteral("0.0.0.0");

bool hasLeadingZero(const QString &dotted)
{
    for (const QString &part : dotted.split(u'.'))
        if (part.size() > 1 && part.startsWith(u'0'))
            return true;
    return false;
}

std::optional<quint32> parseDotted(const QString &text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 value = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint octet = part.toUInt(&ok);
        if (!ok || octet > 255 || part.isEmpty())
            return std::nullopt;
        value = value << 8 | octet;
    }
    return value;
}

// Digits only, within [low, high]; nullopt for anything else.
std::optional<long long> plainNumber(const QString &text, long long low, long long high)
{
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    for (const QChar c : text)
        if (!c.isDigit() || c.unicode() > 0x7f)
            return std::nullopt;
    const long long n = text.toLongLong();
    if (n < low || n > high)
        return std::nullopt;
    return n;
}

FieldProblem problem(const char *text, const QString &title, const char *field, bool clear)
{
    return {QString::fromLatin1(text), title, QString::fromLatin1(field), clear};
}

} // namespace

bool IsCleanAddress(const QString &text)
{
    return IsValidIPAddress(text) && !hasLeadingZero(text);
}

bool IsCleanMask(const QString &text)
{
    return IsValidSubnetMask(text) && !hasLeadingZero(text);
}

std::optional<quint32> NetworkOf(const QString &address, const QString &mask)
{
    const auto a = parseDotted(address);
    const auto m = parseDotted(mask);
    if (!a || !m)
        return std::nullopt;
    return *a & *m;
}

FieldCheck CheckLanInput(const LanInput &in)
{
    if (!IsCleanAddress(in.address))
        return problem("Please input valid IP Address.", kWarning, "ED_IpAddr", true);
    if (!IsCleanMask(in.mask))
        return problem("Please input valid Subnet Mask.", kWarning, "ED_SubMask", true);
    if (!in.gateway.isEmpty() && (in.gateway == kZero || !IsCleanAddress(in.gateway)))
        return problem("Please input valid Gateway.", kWaring, "ED_DefGw", true);
    if (in.routerMode) {
        const auto lan = NetworkOf(in.address, in.mask);
        const auto wan = NetworkOf(in.wanAddress, in.wanMask);
        if (lan && wan && *lan == *wan)
            return problem("The LAN IP address and WAN IP address should  not be the same network! ", kWarning,
                           "ED_IpAddr", false);
    }
    return std::nullopt;
}

QString GatewayToSend(const QString &gateway)
{
    return gateway.isEmpty() ? kZero : gateway;
}

QString AddressShown(const QString &value)
{
    return value == kZero ? QString() : value;
}

QString PoolCountFromEnd(const QString &start, const QString &end)
{
    const auto s = parseDotted(start);
    const auto e = parseDotted(end);
    if (!s || !e || (*s >> 8) != (*e >> 8) || (*e & 0xff) < (*s & 0xff))
        return QString();
    return QString::number((*e & 0xff) - (*s & 0xff) + 1);
}

QString PoolEndFromCount(const QString &start, int count)
{
    const auto s = parseDotted(start);
    if (!s || count < 1)
        return QString();
    const quint32 last = (*s & 0xff) + quint32(count) - 1;
    if (last > 255)
        return QString();
    return QStringLiteral("%1.%2.%3.%4").arg(*s >> 24).arg(*s >> 16 & 0xff).arg(*s >> 8 & 0xff).arg(last);
}

FieldCheck CheckPoolInput(const PoolInput &in)
{
    if (in.start.isEmpty())
        return problem("Please input valid IP address", kWarning, "Ed_IPAF", false);
    if (in.count.isEmpty())
        return problem("Please input a number between 1 and 254.", kWarning, "Ed_PoolRan", false);
    const auto count = plainNumber(in.count, 1, 254);
    if (!count)
        return problem("Please input a number between 1 and 254.", kError, "Ed_PoolRan", true);
    if (const auto s = parseDotted(in.start); s && (*s & 0xff) + *count > 255)
        return problem("Invaild IP range!", kError, "Ed_PoolRan", true);
    if (in.lease.isEmpty())
        return problem("Please input a number between 60 and 31536000.", kWarning, "Ed_Lease", false);
    if (!plainNumber(in.lease, 60, 31536000))
        return problem("Please input a number between 60 and 31536000.", kError, "Ed_Lease", true);
    if (!IsCleanAddress(in.start))
        return problem("Please input valid IP address", kWaring, "Ed_IPAF", true);
    if (in.mask.isEmpty() || in.mask == kZero || !IsCleanMask(in.mask))
        return problem("Please input valid SubMask.", kWaring, "Ed_SubMask", true);
    if (in.gateway.isEmpty() || in.gateway == kZero || !IsCleanAddress(in.gateway))
        return problem("Please input valid Gateway.", kWaring, "Ed_Gateway", true);
    return std::nullopt;
}

bool IsOptionalAddressOk(const QString &text)
{
    return text.isEmpty() || text == kZero || IsCleanAddress(text);
}

QString OptionalAddressToSend(const QString &text)
{
    return IsOptionalAddressOk(text) && !text.isEmpty() ? text : kZero;
}

FieldCheck CheckLeaseInput(const LeaseInput &in)
{
    if (in.address.isEmpty())
        return problem("Please input valid IP address", kWarning, "ED_StaticAssignIP", false);
    if (!IsCleanAddress(in.address))
        return problem("Please input valid IP address", kWaring, "ED_StaticAssignIP", false);
    if (in.address == in.lanAddress)
        return problem("Please input valid IP address.", kWaring, "ED_StaticAssignIP", false);
    bool hex = in.mac.size() == 12;
    for (const QChar c : in.mac)
        hex = hex && QStringLiteral("0123456789abcdefABCDEF").contains(c);
    if (!hex || in.mac == FreeMac)
        return problem("Please input valid MAC address.", kWaring, "ED_StaticAssignMAC", false);
    if (in.mask == kZero || !IsCleanMask(in.mask))
        return problem("Please input valid SubMask.", kWaring, "ED_StaticSubMask", false);
    if (in.hostName.trimmed().isEmpty() || in.hostName.size() > HostNameMaxLength)
        return problem("Invalid Computer Name!", kWarning, "ED_StaticHostName", false);
    return std::nullopt;
}

int DuplicateLeaseRow(const QStringList &column, const QString &value, int excludeRow)
{
    for (int row = 0; row < column.size(); ++row)
        if (row != excludeRow && column.at(row).compare(value, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

const std::array<QString, VlanPortCount> &VlanPortNames()
{
    static const std::array<QString, VlanPortCount> names{
        QStringLiteral("Mgmt"), QStringLiteral("LAN"), QStringLiteral("Primary"), QStringLiteral("S-1"),
        QStringLiteral("S-2"),  QStringLiteral("S-3"), QStringLiteral("S-4"),     QStringLiteral("S-5"),
        QStringLiteral("S-6"),  QStringLiteral("S-7"), QStringLiteral("W-1"),     QStringLiteral("W-2"),
        QStringLiteral("W-3"),  QStringLiteral("W-4")};
    return names;
}

const std::array<int, VlanVisiblePorts> &VlanVisiblePortColumns()
{
    static const std::array<int, VlanVisiblePorts> columns{0, 1, 2, 3, 4, 5, 10, 11, 12, 13};
    return columns;
}

bool IsMssidPort(int port)
{
    return port >= 2 && port <= 9;
}

Membership MembershipOf(const QString &text)
{
    if (text == QLatin1String("tag"))
        return Membership::Tag;
    if (text == QLatin1String("untag"))
        return Membership::Untag;
    return Membership::None;
}

QString MembershipText(Membership m)
{
    switch (m) {
    case Membership::Tag: return QStringLiteral("tag");
    case Membership::Untag: return QStringLiteral("untag");
    case Membership::None: break;
    }
    return QStringLiteral("none");
}

VlanPortCells PortCellsOf(const std::array<Membership, VlanPortCount> &ports)
{
    QStringList untagged, tagged;
    for (const int port : VlanVisiblePortColumns()) {
        if (ports[size_t(port)] == Membership::Untag)
            untagged << VlanPortNames()[size_t(port)];
        else if (ports[size_t(port)] == Membership::Tag)
            tagged << VlanPortNames()[size_t(port)];
    }
    return {untagged.join(u','), tagged.join(u',')};
}

bool IsValidVid(const QString &text)
{
    return plainNumber(text, 1, 4094).has_value();
}

int ListedVidRow(const QStringList &vids, const QString &vid, int excludeRow)
{
    const auto wanted = plainNumber(vid, 0, 4095);
    if (!wanted)
        return -1;
    for (int row = 0; row < vids.size(); ++row)
        if (row != excludeRow && vids.at(row).toLongLong() == *wanted && *wanted != 0)
            return row;
    return -1;
}

int FreeVlanRow(const QStringList &vids, const QStringList &names)
{
    for (int row = 0; row < vids.size(); ++row)
        if (vids.at(row) == QLatin1String("0") && (row >= names.size() || names.at(row).isEmpty()))
            return row;
    return -1;
}

int FirstBadPvid(const QStringList &pvids)
{
    for (int i = 0; i < pvids.size(); ++i)
        if (!IsValidVid(pvids.at(i)))
            return i;
    return -1;
}
