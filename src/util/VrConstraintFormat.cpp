#include "VrConstraintFormat.h"

#include "VrCommon.h"
#include "VrNumList.h"
#include "VrTextUtil.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>

namespace {

bool isUnchecked(const QString &text)
{
    return text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)");
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a brace group option by option; any fault is a bad format.
class OptionReader
{
public:
    explicit OptionReader(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar next() { return atEnd() ? QChar() : m_text.at(m_pos++); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    int digits()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && isDigit(peek()))
            ++m_pos;
        bool ok = false;
        const int value = QStringView(m_text).mid(start, m_pos - start).toInt(&ok);
        if (!ok) // none, or too many for an int
            bad();
        return value;
    }

    double number()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && QStringLiteral("-0123456789.").contains(peek()))
            ++m_pos;
        const QByteArray run = QStringView(m_text).mid(start, m_pos - start).toLatin1();
        double value = 0;
        const auto [end, ec] = std::from_chars(run.constData(), run.constData() + run.size(), value);
        if (run.isEmpty() || ec != std::errc() || end != run.constData() + run.size())
            bad();
        return value;
    }

    [[noreturn]] static void bad() { throw VrCommonException(VrCommonBadFormat); }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
};

QString fill(int code, std::initializer_list<std::pair<const char *, QString>> values)
{
    QString message = VrCommonMessage(code);
    for (const auto &[placeholder, value] : values)
        message.replace(QLatin1String(placeholder), value);
    return message;
}

} // namespace

VrConstraintFormat VrConstraintFormat::Parse(const QString &format)
{
    if (format.size() < 2 || format.at(0) != QLatin1Char('%')
        || !QStringLiteral("shiufn").contains(format.at(1)))
        OptionReader::bad();

    VrConstraintFormat f;
    f.conversion = format.at(1);
    qsizetype pos = 2;
    if (f.conversion == QLatin1Char('n')) {
        if (format.size() < 3)
            OptionReader::bad();
        f.delimiter = format.at(pos++);
    }
    if (f.conversion == QLatin1Char('i')) {
        f.minimum = -2147483648.0;
        f.maximum = 2147483647.0;
    } else if (f.conversion == QLatin1Char('u')) {
        f.minimum = 0;
        f.maximum = 4294967295.0;
    } else {
        f.minimum = std::numeric_limits<double>::min();
        f.maximum = std::numeric_limits<double>::max();
    }
    if (pos == format.size())
        return f;

    if (format.at(pos) != QLatin1Char('{') || !format.endsWith(QLatin1Char('}')))
        OptionReader::bad();
    const QString options = format.mid(pos + 1, format.size() - pos - 2);
    OptionReader in(options);
    while (!in.atEnd()) {
        switch (in.next().unicode()) {
        case 'l':
            f.length = in.digits();
            for (int k = 0; k < 3 && QStringLiteral("afn").contains(in.peek()); ++k) {
                const QChar flag = in.next();
                f.flags |= flag == QLatin1Char('a') ? AutoAdvance
                         : flag == QLatin1Char('f') ? FixedLength : NotEmpty;
            }
            break;
        case 'n':
            f.minimum = in.number();
            break;
        case 'x':
            f.maximum = in.number();
            break;
        case 'w':
            f.width = in.digits();
            break;
        case 'e':
            if (in.atEnd())
                OptionReader::bad();
            f.exitChar = in.next();
            break;
        default:
            OptionReader::bad();
        }
    }
    return f;
}

QStringList VrConstraintFormat::Split(const QString &formats)
{
    QStringList pieces;
    qsizetype start = 0;
    while (start < formats.size()) {
        qsizetype cut = formats.indexOf(QLatin1Char('%'), start + 1);
        if (cut < 0)
            cut = formats.size();
        pieces.append(formats.mid(start, cut - start));
        start = cut;
    }
    return pieces;
}

int VrConstraintFormat::FirstDisallowed(const QString &text) const
{
    if (isUnchecked(text) || conversion == QLatin1Char('s'))
        return -1;
    bool dotSeen = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        bool allowed = isDigit(c);
        switch (conversion.unicode()) {
        case 'h':
            allowed = allowed || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
            break;
        case 'i':
            allowed = allowed || (i == 0 && c == QLatin1Char('-'));
            break;
        case 'f':
            if (c == QLatin1Char('.') && !dotSeen) {
                dotSeen = true;
                allowed = true;
            }
            allowed = allowed || (i == 0 && c == QLatin1Char('-'));
            break;
        case 'n':
            allowed = allowed || (c == delimiter && i > 0 && text.at(i - 1) != delimiter);
            break;
        default: // 'u'
            break;
        }
        if (!allowed)
            return int(i);
    }
    return -1;
}

bool VrConstraintFormat::AutoAdvances(const QString &text) const
{
    return (flags & AutoAdvance) && length > 0 && text.size() == length;
}

VrConstraintResult VrConstraintFormat::CheckExit(const QString &text) const
{
    if (isUnchecked(text))
        return {};
    if (text.isEmpty()) {
        if (flags & NotEmpty)
            return {VrCommonEmptyValue, VrCommonMessage(VrCommonEmptyValue)};
        return {};
    }

    const char c = char(conversion.unicode());
    if (c == 'f' || c == 'i' || c == 'u') {
        const double value = LeadingNumber(text);
        if (!(value >= minimum && value <= maximum)) // also refuses NaN
            return {VrCommonNumberRange,
                    fill(VrCommonNumberRange, {{"[MIN]", ShortestNumber(minimum)},
                                               {"[MAX]", ShortestNumber(maximum)}})};
    } else if ((c == 's' || c == 'h') && length > 0) {
        const bool hex = c == 'h';
        const QString len = QString::number(length);
        if (flags & FixedLength) {
            if (text.size() != length) {
                const int code = hex ? VrCommonHexFixedLength : VrCommonFixedLength;
                return {code, fill(code, {{"[LEN]", len}})};
            }
        } else if (text.size() > length) {
            const int code = hex ? VrCommonHexMaxLength : VrCommonMaxLength;
            return {code, fill(code, {{"[MAXLEN]", len}})};
        }
    } else if (c == 'n') {
        const VrUNumList numbers(text, delimiter);
        const QString delim(delimiter);
        const QString len = QString::number(length);
        if (length > 0 && (flags & FixedLength) && numbers.Count() != length)
            return {VrCommonFixedCount, fill(VrCommonFixedCount, {{"[DELIMITER]", delim}, {"[COUNT]", len}})};
        if (length > 0 && !(flags & FixedLength) && numbers.Count() > length)
            return {VrCommonMaxCount, fill(VrCommonMaxCount, {{"[DELIMITER]", delim}, {"[MAXCOUNT]", len}})};
        const double low = std::trunc(minimum);
        const double high = std::trunc(maximum);
        if (!numbers.AllWithin(low, high))
            return {VrCommonNumbersRange,
                    fill(VrCommonNumbersRange, {{"[DELIMITER]", delim},
                                                {"[MIN]", ShortestNumber(low)},
                                                {"[MAX]", ShortestNumber(high)}})};
    }
    return {};
}
