#include "VrDateTime.h"

#include <QDateTime>

#include <algorithm>
#include <iterator>

namespace {

bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Matches `pattern` ("%d" for a number, other characters literally, as
// sscanf does) against the text; returns how many numbers were read before
// the first mismatch. Numbers wrap instead of overflowing.
int scan(const QByteArray &text, const char *pattern, uint32_t *numbers)
{
    qsizetype pos = 0;
    int count = 0;
    const auto at = [&](qsizetype i) { return i < text.size() ? text.at(i) : '\0'; };
    for (const char *p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            ++p;
            while (isBlank(at(pos)))
                ++pos;
            const bool negative = at(pos) == '-';
            if (at(pos) == '-' || at(pos) == '+')
                ++pos;
            if (at(pos) < '0' || at(pos) > '9')
                return count;
            uint32_t value = 0;
            for (; at(pos) >= '0' && at(pos) <= '9'; ++pos)
                value = value * 10u + uint32_t(at(pos) - '0');
            numbers[count++] = negative ? 0u - value : value;
        } else if (at(pos) == *p) {
            ++pos;
        } else {
            return count;
        }
    }
    return count;
}

} // namespace

VrDateTime::VrDateTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    year = uint16_t(date.year());
    month = uint8_t(date.month());
    day = uint8_t(date.day());
    hour = uint8_t(time.hour());
    minutes = uint8_t(time.minute());
    seconds = uint8_t(time.second());
}

VrDateTime::VrDateTime(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    uint32_t n[9] = {};
    if (scan(bytes, "%d-%d-%d,%d:%d:%d.%d,+%d:%d", n) == 9) {
        direction = '+';
    } else if (scan(bytes, "%d-%d-%d,%d:%d:%d.%d,-%d:%d", n) == 9) {
        direction = '-';
    } else {
        std::fill(std::begin(n), std::end(n), 0u);
        scan(bytes, "%d-%d-%d,%d:%d:%d.%d", n);
    }
    year = uint16_t(n[0]);
    month = uint8_t(n[1]);
    day = uint8_t(n[2]);
    hour = uint8_t(n[3]);
    minutes = uint8_t(n[4]);
    seconds = uint8_t(n[5]);
    deciSeconds = uint8_t(n[6]);
    utcHours = uint8_t(n[7]);
    utcMinutes = uint8_t(n[8]);
}

VrDateTime VrDateTime::FromRaw(const QByteArray &raw)
{
    const auto byte = [&](int i) { return i < raw.size() ? uint8_t(raw.at(i)) : uint8_t(0); };
    VrDateTime d{Zero()};
    d.year = uint16_t(byte(0) << 8 | byte(1));
    d.month = byte(2);
    d.day = byte(3);
    d.hour = byte(4);
    d.minutes = byte(5);
    d.seconds = byte(6);
    d.deciSeconds = byte(7);
    if (raw.size() > 8)
        d.direction = char(byte(8));
    d.utcHours = byte(9);
    d.utcMinutes = byte(10);
    return d;
}

QString VrDateTime::ToText() const
{
    QString text = QString::asprintf("%d-%d-%d,%d:%d:%d.%d", year, month, day, hour, minutes,
                                     seconds, deciSeconds);
    if ((utcHours != 0 || utcMinutes != 0) && (direction == '+' || direction == '-'))
        text += QString::asprintf(",%c%d:%d", direction, utcHours, utcMinutes);
    return text;
}

QByteArray VrDateTime::ToRaw() const
{
    const char bytes[11] = {char(year >> 8), char(year & 0xFF), char(month), char(day), char(hour),
                            char(minutes), char(seconds), char(deciSeconds), direction,
                            char(utcHours), char(utcMinutes)};
    return QByteArray(bytes, sizeof bytes);
}

void VrDateTime::SwapYearBytes()
{
    year = uint16_t(year >> 8 | year << 8);
}
