#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// The rules of the administrator settings page that need no widget: the
// checks of Save, the console and management-access states, and the add of a
// management address range.

// A refused input: the message, its box caption and what the page does next.
struct AdminRefusal {
    QString text;
    QString title;
    QString field;      // objectName of the edit to focus
    bool clear = false; // empty that edit
    bool resetRange = false; // empty the range fields
    bool selectFrom = false; // select the text of the range start
};

// The Save checks, in order; the first that fails, or none.
struct AdminSaveInput {
    bool limitVid = false;
    QString vid;
    QString oldPassword;
    QString passwordRead;
    QString user;
    QString newPassword;
    QString confirmPassword;
};
std::optional<AdminRefusal> CheckAdminSave(const AdminSaveInput &in);

// The user name takes letters a-z, A-Z, digits and @ . _ - only.
bool IsValidUserName(const QString &name);

// managerIpAddressStatus: 0 neither, 1 VLAN only, 2 addresses only, 3 both.
int ManagerStatus(bool limitVid, bool limitIp);
bool LimitsVid(int status);
bool LimitsIp(int status);

// The console choice shown for the telnet and ssh states read; Unknown when
// both are on (the page then selects none and writes neither).
enum class Console { None, Telnet, Ssh, Unknown };
Console ConsoleFrom(int telnet, int ssh);
struct ConsoleWrites {
    int telnet = 0;
    int ssh = 0;
    bool writeTelnet = false;
    bool writeSsh = false;
    bool writeTimeout = false;
};
ConsoleWrites ConsoleWritesFor(Console choice);

// The same address without leading zeros in its parts ("010" reads as ten
// on the device, not as octal), so that it compares with what the device lists.
QString CanonicalAddress(const QString &dotted);
bool SameNetwork24(const QString &a, const QString &b);

// One row of the device's range table as listed.
struct RangeRow {
    QString index;
    QString start;
    QString end;
    bool isFree() const;
};

// The add of a range: a refusal, or the row of the table to write.
struct RangeAdd {
    std::optional<AdminRefusal> refusal;
    int row = -1;          // position in the listed rows
    QString start;         // the addresses to write, as the device shows them
    QString end;
};
inline constexpr int MaxRanges = 4;
RangeAdd PlanRangeAdd(int shownRanges, const QString &from, const QString &to, const QList<RangeRow> &rows);
