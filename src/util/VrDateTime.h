#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// An SNMP DateAndTime value (11 bytes: year, month, day, hour, minutes,
// seconds, deci-seconds, direction from UTC, hours and minutes from UTC).
// Fields hold whatever they are given, reduced modulo their width; nothing is
// range-checked, so any agent value survives a round trip.
//
// Text form: "2009-7-15,13:45:30.5", with ",+5:30" or ",-5:30" appended when
// the offset from UTC is not zero.
// Raw form (the SNMP value): the fields in order, year big-endian.
// Text to raw: VrDateTime(text).ToRaw(); raw to text: FromRaw(bytes).ToText().
class VrDateTime
{
public:
    // The current local date and time; deci-seconds 0, offset "+0:0".
    VrDateTime();
    // Parses the first of "Y-M-D,h:m:s.d,+H:M" and "Y-M-D,h:m:s.d,-H:M" whose
    // nine numbers are all present, else "Y-M-D,h:m:s.d" as far as it goes;
    // fields the text does not supply are 0, direction "+".
    explicit VrDateTime(const QString &text);
    // The fields from a raw value; bytes beyond its end count as 0 (an 8-byte
    // value has no offset from UTC), bytes beyond the eleventh are ignored.
    static VrDateTime FromRaw(const QByteArray &raw);

    QString ToText() const;
    QByteArray ToRaw() const;
    // Exchanges the two bytes of the year (host to network order and back).
    void SwapYearBytes();

    bool operator==(const VrDateTime &) const = default;

    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;
    uint8_t deciSeconds = 0;
    char direction = '+';
    uint8_t utcHours = 0;
    uint8_t utcMinutes = 0;

private:
    struct Zero {};
    explicit VrDateTime(Zero) {}
};
