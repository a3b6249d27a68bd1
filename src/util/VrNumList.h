#pragma once

#include <QChar>
#include <QString>
#include <cstdint>
#include <vector>

// A list of numbers parsed from separated text ("1,3,5", "192.168.0.1").
// Parsing never fails: the count is the number of separators plus one (none
// for an empty text); a "." that is not the separator starts a fraction that
// does not change the whole number; any other character counts as the digit
// (code - '0'), so junk gives odd numbers but never an error or overflow trap.
template <typename T>
class VrNumListT
{
public:
    explicit VrNumListT(QChar separator = QLatin1Char('.')) : m_separator(separator) {}
    VrNumListT(const QString &text, QChar separator) : m_separator(separator) { Parse(text); }

    void Parse(const QString &text);

    int Count() const { return int(m_numbers.size()); }
    T At(int index) const { return m_numbers.at(size_t(index)); }
    const std::vector<T> &Numbers() const { return m_numbers; }
    QChar Separator() const { return m_separator; }
    void SetSeparator(QChar separator) { m_separator = separator; }

    // Index of the first equal number, or -1.
    int IndexOf(T number) const;
    // True when every number lies in [minimum, maximum]; true for an empty list.
    bool AllWithin(double minimum, double maximum) const;

private:
    QChar m_separator;
    std::vector<T> m_numbers;
};

// Signed numbers: item selections of variable lists.
using VrNumList = VrNumListT<int32_t>;
// Unsigned numbers: delimited-number edit constraints.
using VrUNumList = VrNumListT<uint32_t>;

extern template class VrNumListT<int32_t>;
extern template class VrNumListT<uint32_t>;
