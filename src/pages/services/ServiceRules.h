#pragma once

#include <QString>
#include <array>
#include <optional>
#include <set>
#include <utility>
#include <vector>

// The rules of the QoS, schedule and Internet connection pages that need no
// widget: what is checked before a write and how rows are listed.

// A refused input: the message box and the control to focus.
struct ServiceProblem {
    QString text;
    QString caption;
    QString field;      // objectName of the control concerned
    bool clear = false; // the field is emptied
};
using ServiceCheck = std::optional<ServiceProblem>;

// --- QoS ---

// Rule table columns, in list order.
enum QosColumn {
    QcIndex, QcState, QcName, QcPriority, QcProtocol, QcProtocolType,
    QcIpFrom1, QcIpTo1, QcIpRange1, QcPortFrom1, QcPortTo1, QcPortRange1,
    QcIpFrom2, QcIpTo2, QcIpRange2, QcPortFrom2, QcPortTo2, QcPortRange2,
    QcCount
};
inline constexpr int QosTableRows = 64;

// The protocol number a protocol choice stands for ("Other": nullopt, typed
// by the user), and whether the choice uses ports.
std::optional<int> QosProtocolNumber(const QString &protocolText);
bool QosProtocolHasPorts(const QString &protocolText);

// Number of addresses from start to end, both included; 0 when either does
// not parse or the end lies below the start. The device keeps a 32-bit
// signed count, so the whole address space is capped at its largest value.
qint32 AddressCount(const QString &start, const QString &end);

// How a rule is listed.
QString QosHostText(const QString &start, const QString &end, bool anyWhenUnset);
QString QosPortsText(const QString &start, const QString &end);

struct QosRuleInput {
    QString name, protocol;
    QString ipFrom1, ipTo1, portFrom1, portTo1;
    QString ipFrom2, ipTo2, portFrom2, portTo2;
};
// What Add writes when the input passes: the completed fields (ends that
// were left empty take their start), the range columns, and the columns that
// stay out of the write.
struct QosRulePlan {
    QString ipTo1, ipTo2, portTo1, portTo2;
    QString ipRange1, portRange1, ipRange2, portRange2;
    std::set<int> excluded;
};
struct QosRuleCheck {
    ServiceCheck problem;
    QosRulePlan plan;
};
QosRuleCheck CheckQosRule(const QosRuleInput &input);

// --- Schedule ---

inline constexpr int ScheduleRows = 4;
inline constexpr int AllWeekMask = 127;
// Days as the check boxes hold them: Sun, Mon, Tue, Wed, Thu, Fri, Sat.
using WeekDays = std::array<bool, 7>;
int DayMask(const WeekDays &days);
WeekDays DaysOfMask(int mask);
// "All Week", or the set days from Sat down to Sun, one blank apart.
QString DaysText(int mask);
QString TimeFrameText(bool allDay, const QString &start, const QString &end);

// An hour (0..24) or minute (0..60) as the device takes it: two digits.
// nullopt for an empty, non-numeric or out-of-range text.
std::optional<QString> TimePart(const QString &text, int maximum);

// --- Internet connection ---

enum WanType { WanStatic = 1, WanDynamic = 2, WanPppoe = 3, WanPptp = 4 };
// Positions of the connection settings list.
enum WanSetting {
    WsPrimaryDns, WsSecondaryDns, WsHostName, WsPppoeMode, WsPppoeUser, WsPppoePassword, WsPppoeService,
    WsPppoeIp, WsPppoeGetDns, WsConnectMode, WsPptpMode, WsPptpIp, WsPptpMask, WsPptpGateway, WsPptpDns,
    WsPptpServer, WsPptpAccount, WsPptpPassword, WsCount
};

// The MTU limits of a connection type (the lower limit is 200 for all).
int MtuMaximum(WanType type);
inline constexpr int MtuMinimum = 200;
// The MTU text read as a number (0 when it is not one) within the type's limits.
bool IsValidMtu(WanType type, const QString &text);
// Not empty, plain ASCII letters, digits, '.', '_' and '-' only.
bool IsValidHostName(const QString &text);
// The octet-wise AND of an address and a mask in dotted form; empty when
// either does not parse.
QString NetworkText(const QString &address, const QString &mask);
// Both addresses parse and lie in one network under the mask.
bool SameNetwork(const QString &a, const QString &b, const QString &mask);
// An optional address: empty reads as "0.0.0.0".
inline QString AddressOrZero(const QString &text) { return text.isEmpty() ? QStringLiteral("0.0.0.0") : text; }

// What Save checks, by connection type; texts as typed.
struct WanInput {
    WanType type = WanStatic;
    QString lanIp, lanMask;
    QString staticIp, staticMask, staticGateway, staticDns1, staticDns2, staticMtu;
    QString hostName, dynamicDns1, dynamicDns2, dynamicMtu;
    bool pppoeStatic = false, pppoeManualDns = false;
    QString pppoeUser, pppoePassword, pppoeRetype, pppoeIp, pppoeDns1, pppoeDns2, pppoeMtu;
    bool pptpStatic = false;
    QString pptpIp, pptpMask, pptpGateway, pptpDns, pptpServer, pptpAccount, pptpPassword, pptpRetype, pptpMtu;
};
struct WanPlan {
    std::set<int> settings;                       // positions of the settings list written
    std::vector<std::pair<QString, QString>> fills; // field objectName, text it takes (optional
                                                    // addresses left empty become "0.0.0.0")
};
struct WanCheck {
    ServiceCheck problem;
    WanPlan plan;
};
WanCheck CheckWanInput(const WanInput &input);
