#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the station pages make of the device's walked tables: the client
// table (client information and the MAC access list), the WDS peers, the
// rogue-AP survey, the traffic counters and the access-list entries. Rows
// arrive as the texts of their columns in walk order; a row may be short or
// hold strange values, and is then shown as far as it goes.
namespace Stations {

// A free slot of the device's fixed-size MAC tables.
inline const QString FreeMac = QStringLiteral("000000000000");

// Columns of the client table as walked.
enum ClientColumn {
    ClientIndex, ClientMac, ClientBand, ClientAuthentication, ClientRssi, ClientPsm, ClientSsid,
    ClientUptime, ClientActiveTime, ClientColumnCount
};

// A station as both pages list it.
struct StationLine {
    QString ssid;
    QString mac;
    QString band;
    QString authentication;
    QString signal;
    QString powerSaving;
};

// The lines of the used rows, in walk order; free slots (and rows without
// a MAC) are left out.
std::vector<StationLine> StationLines(const std::vector<QStringList> &rows);

// "A", "B", "G", "N" for 0..3; any other value as it is.
QString BandLetter(const QString &value);
// The device's name of an authentication number ("opensystem" ..
// "dot1x"); a number outside 1..9 as it is.
QString AuthenticationLabel(const QString &value);
// As the station lists show it: "OPEN", "WEP" and the WPA names in capitals,
// the label for the others.
QString StationAuthenticationText(const QString &value);
// "57%"; empty for a value that is not a percentage.
QString SignalText(const QString &rssi);
// "On" / "Off"; any other value as it is.
QString PowerSavingText(const QString &psm);

// Columns of the WDS peer table as walked.
enum WdsColumn {
    WdsIndex, WdsMac, WdsBand, WdsAuthentication, WdsRssi, WdsPsm, WdsName, WdsConnected, WdsStatus,
    WdsColumnCount
};

struct WdsLine {
    QString name;
    QString mac;            // empty for a free slot
    QString authentication; // "None" for an open peer without encryption
    QString signal;         // empty when the device reads 0
    QString status;         // "On" / "Off"
};
// Every walked peer is listed, free slots with an empty MAC.
std::vector<WdsLine> WdsLines(const std::vector<QStringList> &rows, bool encryptionEnabled);

// Columns of the rogue-AP survey as walked.
enum SurveyColumn {
    SurveyIndex, SurveyChannel, SurveyBssid, SurveyMode, SurveySsid, SurveyLastSeen, SurveyType,
    SurveyStatus, SurveyColumnCount
};

struct SurveyLine {
    QString type; // "new", "valid", "neighborhood", "rogue"
    QString band;
    QString channel;
    QString ssid;
    QString bssid;
    QString lastSeen;
    QString status; // "up" / "down"
};
// The class filter's texts; "All" lists every used row, the others the
// rows of that class.
QStringList SurveyFilters();
std::vector<SurveyLine> SurveyLines(const std::vector<QStringList> &rows, const QString &filter);
QString SurveyClassLabel(const QString &value);
// The survey index of the row with that BSSID, if the survey still has it.
std::optional<int> SurveyIndexOf(const std::vector<QStringList> &rows, const QString &bssid);

// A traffic counter as an unsigned decimal, whatever width the device used:
// a 32-bit counter that arrives as a negative INTEGER is taken modulo 2^32.
QString CounterText(const QString &value);

// Why a MAC address may not be added to the access list.
enum class MacRefusal { None, Length, Zero, Duplicate };
MacRefusal CheckNewAclMac(const QString &mac, const QStringList &listed);
// The MACs of the used access-list rows (column 1 of each row).
QStringList ListedMacs(const std::vector<QStringList> &rows);
// The position of the first free row, the one the device fills next.
std::optional<int> FirstFreeRow(const std::vector<QStringList> &rows);

} // namespace Stations
