#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// The rules of the LAN, DHCP server and VLAN pages that need no widget: the
// address checks before anything is written, the pool shown as a count, the
// static-lease checks and the VLAN membership and PVID rules.

// A refused input: the message box and the control to focus.
struct FieldProblem {
    QString text;
    QString title;
    QString field;      // objectName of the control concerned
    bool clear = false; // the field is emptied
};
using FieldCheck = std::optional<FieldProblem>;

// The address checks of the module, refusing leading zeros as well: the
// device would read "010" as octal or as ten, depending on its firmware.
bool IsCleanAddress(const QString &text);
bool IsCleanMask(const QString &text);

// The main window shows its router menus at this position of the mode combo;
// the LAN and DHCP pages follow the same rule.
inline constexpr int RouterModeIndex = 4;
inline bool IsRouterMode(int apModeIndex) { return apModeIndex == RouterModeIndex; }

// Octet-wise AND of an address and a mask, as a 32-bit number; nullopt when
// either does not parse.
std::optional<quint32> NetworkOf(const QString &address, const QString &mask);

// --- LAN page ---
struct LanInput {
    QString address, mask, gateway;
    bool routerMode = false;
    QString wanAddress, wanMask; // compared only in router mode
};
FieldCheck CheckLanInput(const LanInput &in);
// An empty gateway goes to the device as 0.0.0.0.
QString GatewayToSend(const QString &gateway);
// What an address field shows of a value read: 0.0.0.0 as empty.
QString AddressShown(const QString &value);

// --- DHCP page: the dynamic pool ---
// The pool's end shown as a count of addresses; empty when the two do not
// make a pool (end before start, or in another /24).
QString PoolCountFromEnd(const QString &start, const QString &end);
// The end address of a pool of count addresses from start.
QString PoolEndFromCount(const QString &start, int count);

struct PoolInput {
    QString start, count, lease, mask, gateway;
};
// The checks that stop the save, in the order the user meets them.
FieldCheck CheckPoolInput(const PoolInput &in);
// WINS and DNS are optional: empty or 0.0.0.0 stand for none.
bool IsOptionalAddressOk(const QString &text);
QString OptionalAddressToSend(const QString &text);

// --- DHCP page: static leases ---
inline constexpr int HostNameMaxLength = 63;
inline constexpr int DomainNameMaxLength = 63;
struct LeaseInput {
    QString address, mac, mask, hostName;
    QString lanAddress; // the access point's own address, never leased
};
FieldCheck CheckLeaseInput(const LeaseInput &in);
// The row (0-based) of a lease column (MACs, addresses) that already holds
// value, letter case aside, leaving out excludeRow (the lease being edited);
// -1 when there is none.
int DuplicateLeaseRow(const QStringList &column, const QString &value, int excludeRow);
inline const QString FreeMac = QStringLiteral("000000000000");

// --- VLAN page ---
inline constexpr int VlanPortCount = 14;
inline constexpr int VlanVisiblePorts = 10; // S-4 .. S-7 are not shown
enum class Membership { None = 0, Tag = 1, Untag = 2 };
// Port names in table-column order.
const std::array<QString, VlanPortCount> &VlanPortNames();
// Ports shown on the page, as positions in table-column order.
const std::array<int, VlanVisiblePorts> &VlanVisiblePortColumns();
// Primary and S-1 .. S-7: ports of the multi-SSID networks.
bool IsMssidPort(int port);
// A membership column's text as read ("none", "tag", "untag").
Membership MembershipOf(const QString &text);
QString MembershipText(Membership m);

// The "Untag VLAN Ports" and "Tag VLAN Ports" cells of a VLAN.
struct VlanPortCells {
    QString untagged, tagged;
};
VlanPortCells PortCellsOf(const std::array<Membership, VlanPortCount> &ports);

// VID and PVID: 1 .. 4094, digits only.
bool IsValidVid(const QString &text);
inline const QString VidRangeText = QStringLiteral("The VID value range is 1~4094.");

// The row (0-based) among vids that holds vid, leaving out excludeRow; -1 when none.
int ListedVidRow(const QStringList &vids, const QString &vid, int excludeRow);
// The first free row of the VLAN table (VID 0 and no name); -1 when full.
int FreeVlanRow(const QStringList &vids, const QStringList &names);
// The position (0-based) of the first PVID that is not valid; -1 when all are.
int FirstBadPvid(const QStringList &pvids);
