#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

struct VrOptionNumDef;

// The rules of the time and date page that need no widget: the time zones the
// device knows, which of them keep daylight saving, the entries of the manual
// date and time, and the form of a manual time the device takes.

inline constexpr int TimeZoneCount = 75;
// Values 1..75 in list order, each "(GMT+hh:mm) places"; ends with a null text.
const VrOptionNumDef *TimeZoneDefs();
QStringList TimeZoneTexts();
bool ZoneHasDaylightSaving(int zone);

// The years offered for a manual time: from 2002 to ten years past the
// current one, and at least to 2037, so that the computer's clock can always
// be copied.
QStringList YearEntries(int currentYear);
// "00".."count-1" or "01".."count".
QStringList TwoDigitEntries(int first, int last);

struct ClockFields {
    QString month, day, year, hour, minute, second;
    bool complete() const;
};
// The fields of a moment as the manual combos show them.
ClockFields ClockFieldsOf(const QDateTime &when);
// "mm/dd/yyyy hh:mm:ss"
QString ComposeManualTime(const ClockFields &f);

// The public NTP server offered besides typing an address.
inline constexpr const char DefaultNtpServer[] = "pool.ntp.org";
