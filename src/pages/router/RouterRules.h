#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The checks of the router pages that need no widget: website names, port
// ranges, same-network and MAC checks, the firewall rule and DMZ checks.
namespace Router {

// A refused input: the message box and the control to focus.
struct Refusal {
    QString text;
    QString title;
    QString field;      // objectName of the control concerned; empty for none
    bool clear = false; // the field is emptied
};
using Check = std::optional<Refusal>;

constexpr int kMaxUrls = 10;
constexpr int kMaxRules = 25;
constexpr int kUrlLength = 40;
constexpr int kNameLength = 31;
constexpr int kMacLength = 12;

// A port typed as a decimal number within [min, max]; nothing otherwise.
std::optional<int> PortValue(const QString &text, int min, int max);
// "start~end", as the lists show ranges.
QString RangeText(const QString &start, const QString &end);
// Dotted addresses in one network under 255.255.255.0.
bool SameNetwork24(const QString &a, const QString &b);
// The private end that keeps the private range as wide as the public one;
// empty while any of the three does not read as a number.
QString PrivateEnd(const QString &publicStart, const QString &publicEnd, const QString &privateStart);

// Parental control: a website name to add.
Check CheckUrl(const QString &url, const QStringList &listed);

struct PortForwardInput {
    QString name, ip, routerIp, publicStart, publicEnd, privateStart;
};
// The checks of a rule to write, in the order the user is told of them.
Check CheckPortForward(const PortForwardInput &in);

// MAC filter: an address to add (12 hex digits).
Check CheckFilterMac(const QString &mac, const QStringList &listed);

struct FirewallInput {
    QString sourceInterface, sourceStart, sourceEnd;
    QString destInterface, destStart, destEnd;
    QString protocol, portStart, portEnd;
};
// Whether the protocol takes ports ("TCP", "UDP").
bool ProtocolHasPorts(const QString &protocol);
Check CheckFirewallRule(const FirewallInput &in);

// The DMZ address, checked only while the DMZ is enabled.
Check CheckDmz(bool enabled, const QString &address);

// A rule may be added outside edit mode only below the table's limit.
bool RoomForRule(int listed, int limit, bool editing);

} // namespace Router
