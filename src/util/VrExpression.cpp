#include "VrExpression.h"

#include "VrCommon.h"
#include "VrTextUtil.h"

#include <QCollator>

#include <limits>
#include <utility>
#include <vector>

namespace {

// Refusal of an over-long or over-deep text, turned into each evaluator's
// defined result at its entry point.
struct TooComplex {};

void checkDepth(int depth)
{
    if (depth > VrMaxExpressionDepth)
        throw TooComplex();
}

void checkLength(const QString &text)
{
    if (text.size() > VrMaxExpressionLength)
        throw TooComplex();
}

// Position of the ")" that closes the "(" at `open`, counting nesting; -1 when
// it is never closed.
qsizetype matchingParen(const QString &text, qsizetype open)
{
    int level = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('('))
            ++level;
        else if (text.at(i) == QLatin1Char(')') && --level == 0)
            return i;
    }
    return -1;
}

bool isNow(const QString &text)
{
    return text.compare(QLatin1String("NOW"), Qt::CaseInsensitive) == 0;
}

double arithmetic(QString text, int depth);

// Replaces the first parenthesised part by its result and evaluates the new
// text's first parenthesised part again, until the first "(" is not closed or
// none is left. Done in one pass: a result never contains a parenthesis, so
// each following "(" and its match are the same as in the original text.
QString reduceParens(const QString &text, int depth)
{
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('('), from);
        const qsizetype close = open < 0 ? -1 : matchingParen(text, open);
        if (close < 0)
            break;
        result += QStringView(text).mid(from, open - from);
        result += FixedNumber(arithmetic(text.mid(open + 1, close - open - 1), depth + 1));
        from = close + 1;
    }
    if (from == 0)
        return text;
    result += QStringView(text).mid(from);
    return result;
}

double number(const QString &text)
{
    return isNow(text.trimmed()) ? NowDayNumber() : LeadingNumber(text);
}

double apply(double left, QChar op, double right)
{
    switch (op.unicode()) {
    case '+': return left + right;
    case '-': return left - right;
    case '*': return left * right;
    default: return left / right;
    }
}

// The right side of every split is the rest of the text, so a chain is
// evaluated in a loop: the left operands are collected and the results folded
// from the right, which keeps a-b-c = a-(b-c) and a/b/c = a/(b/c).
double arithmetic(QString text, int depth)
{
    checkDepth(depth);
    std::vector<std::pair<double, QChar>> lefts;
    double value = 0;
    for (;;) {
        text = reduceParens(text, depth);
        qsizetype at = -1;
        QChar op;
        for (char c : {'+', '-', '*', '/'}) {
            at = text.indexOf(QLatin1Char(c));
            if (at >= 0) {
                op = QLatin1Char(c);
                break;
            }
        }
        if (at < 0) {
            value = number(text);
            break;
        }
        const QString left = text.left(at);
        const bool sum = op == QLatin1Char('+') || op == QLatin1Char('-');
        lefts.emplace_back(sum ? arithmetic(left, depth + 1) : number(left), op);
        text = text.mid(at + 1);
    }
    for (auto it = lefts.rbegin(); it != lefts.rend(); ++it)
        value = apply(it->first, it->second, value);
    return value;
}

bool logical(QString text, int depth)
{
    checkDepth(depth);
    bool negate = false;
    for (;;) {
        const qsizetype quote1 = text.indexOf(QLatin1Char('"'));
        const qsizetype quote2 = quote1 < 0 ? -1 : text.indexOf(QLatin1Char('"'), quote1 + 1);
        const auto operatorAt = [&](qsizetype i) {
            return i >= 0 && !(quote2 >= 0 && i > quote1 && i < quote2);
        };
        const qsizetype open = text.indexOf(QLatin1Char('('));
        const qsizetype close = open < 0 ? -1 : matchingParen(text, open);
        const qsizetype bar = text.indexOf(QLatin1Char('|'));
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        const qsizetype bang = text.indexOf(QLatin1Char('!'));

        if (operatorAt(open) && operatorAt(close)) {
            const bool inner = logical(text.mid(open + 1, close - open - 1), depth + 1);
            text = text.left(open) + QLatin1String(inner ? "true" : "false") + text.mid(close + 1);
        } else if (operatorAt(bar)) {
            if (logical(text.left(bar), depth + 1))
                return !negate;
            text = text.mid(bar + 1);
        } else if (operatorAt(amp)) {
            if (!logical(text.left(amp), depth + 1))
                return negate;
            text = text.mid(amp + 1);
        } else if (operatorAt(bang)) {
            // The "!" is expected to lead; whatever character leads is dropped.
            negate = !negate;
            text = text.mid(1);
        } else {
            return negate != EvaluateComparison(text);
        }
    }
}

} // namespace

double DayNumber(const QDateTime &dateTime)
{
    static const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    return double(dateTime.date().toJulianDay() - epoch)
        + dateTime.time().msecsSinceStartOfDay() / 86400000.0;
}

double NowDayNumber()
{
    return DayNumber(QDateTime::currentDateTime());
}

double EvaluateArithmetic(const QString &text)
{
    try {
        checkLength(text);
        return arithmetic(text, 0);
    } catch (const TooComplex &) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

bool EvaluateComparison(const QString &text)
{
    // Tried in this order, so "<>" and ">=" are not read as "<" or ">".
    static const struct {
        const char *text;
        bool (*holds)(int order);
    } operators[] = {
        {"<>", [](int order) { return order != 0; }},
        {">=", [](int order) { return order >= 0; }},
        {"<=", [](int order) { return order <= 0; }},
        {">", [](int order) { return order > 0; }},
        {"<", [](int order) { return order < 0; }},
        {"=", [](int order) { return order == 0; }},
    };
    for (const auto &op : operators) {
        const QLatin1String opText(op.text);
        const qsizetype at = text.indexOf(opText);
        if (at < 0)
            continue;
        QString sides[2] = {text.left(at), text.mid(at + opText.size())};
        const QString now = FixedNumber(NowDayNumber()); // one instant for both sides
        for (QString &side : sides) {
            side = Unquote(side.trimmed());
            if (isNow(side))
                side = now;
        }
        // A collator of our own rather than QString::localeAwareCompare, whose
        // per-thread collator is never freed.
        const QCollator collator; // current locale, case-sensitive
        return op.holds(collator.compare(sides[0], sides[1]));
    }
    const QString literal = text.trimmed();
    if (literal.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (literal.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    throw VrCommonException(VrCommonBadLogicOperand);
}

bool EvaluateLogical(const QString &text)
{
    try {
        checkLength(text);
        return logical(text, 0);
    } catch (const TooComplex &) {
        throw VrCommonException(VrCommonBadLogicOperand);
    }
}
