#include "AddressValidators.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace {

// A part that is empty, not all digits or too long reads as -1, which every
// range check below refuses.
int partValue(const QString &part)
{
    if (part.isEmpty() || part.size() > 3)
        return -1;
    int value = 0;
    for (const QChar c : part) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

std::optional<std::array<int, 4>> dottedParts(const QString &text)
{
    if (text.startsWith(u'.'))
        return std::nullopt;
    const qsizetype firstDot = text.indexOf(u'.');
    if (firstDot == text.size() - 1)
        return std::nullopt;
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> values{};
    for (int i = 0; i < 4; ++i)
        values[size_t(i)] = partValue(parts.at(i));
    return values;
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

bool IsValidIPAddress(const QString &text)
{
    const auto parts = dottedParts(text);
    if (!parts)
        return false;
    const auto &p = *parts;
    return inRange(p[0], 1, 223) && inRange(p[1], 0, 255) && inRange(p[2], 0, 255)
        && inRange(p[3], 1, 254);
}

bool IsValidSubnetMask(const QString &text)
{
    const auto parts = dottedParts(text);
    if (!parts)
        return false;
    const auto &p = *parts;
    if (!inRange(p[0], 1, 255))
        return false;
    for (int i = 1; i < 4; ++i)
        if (!inRange(p[size_t(i)], 0, 255))
            return false;
    for (const int part : p)
        if (part == 1)
            return false;

    const uint32_t mask = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
    const uint32_t hostBits = ~mask;
    // Contiguous ones then zeros: the host bits are a run of low ones.
    const bool contiguous = (hostBits & (hostBits + 1)) == 0;
    return contiguous && (mask & 0xC0000000u) == 0xC0000000u && (mask & 1u) == 0;
}

std::optional<quint32> AddressNumber(const QString &dotted)
{
    const QStringList parts = dotted.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 number = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok);
        if (!ok || value > 255 || part.isEmpty() || part.size() > 3)
            return std::nullopt;
        number = (number << 8) | value;
    }
    return number;
}
