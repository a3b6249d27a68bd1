#include "VrNumList.h"

template <typename T>
void VrNumListT<T>::Parse(const QString &text)
{
    m_numbers.clear();
    if (text.isEmpty())
        return;
    m_numbers.reserve(size_t(text.count(m_separator)) + 1);

    // Accumulate in unsigned arithmetic: junk or very long digit runs wrap
    // instead of overflowing a signed number.
    uint32_t current = 0;
    bool inFraction = false;
    for (QChar c : text) {
        if (c == m_separator) {
            m_numbers.push_back(T(current));
            current = 0;
            inFraction = false;
        } else if (c == QLatin1Char('.')) {
            inFraction = true;
        } else if (!inFraction) {
            current = current * 10u + uint32_t(c.unicode() - u'0');
        }
    }
    m_numbers.push_back(T(current));
}

template <typename T>
int VrNumListT<T>::IndexOf(T number) const
{
    for (size_t i = 0; i < m_numbers.size(); ++i)
        if (m_numbers[i] == number)
            return int(i);
    return -1;
}

template <typename T>
bool VrNumListT<T>::AllWithin(double minimum, double maximum) const
{
    for (T n : m_numbers)
        if (double(n) < minimum || double(n) > maximum)
            return false;
    return true;
}

template class VrNumListT<int32_t>;
template class VrNumListT<uint32_t>;
