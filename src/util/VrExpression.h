#pragma once

#include <QDateTime>
#include <QString>

// The expression evaluators of read and write expressions. Texts are
// evaluated by repeatedly rewriting them (a parenthesised part becomes its
// result), so their rules are textual and kept exactly:
//  - arithmetic splits at the first "+", else the first "-", else the first
//    "*", else the first "/", and evaluates the right side as a whole, so
//    10-4-3 is 10-(4-3) = 9; the left side of "*" and "/" is read as one
//    number; operators have no precedence beyond that order;
//  - comparisons compare texts, not numbers;
//  - a logical operator or parenthesis between the first pair of double
//    quotes is not an operator.
// Untrusted input is bounded: longer texts than VrMaxExpressionLength or
// evaluations nested deeper than VrMaxExpressionDepth (each parenthesised
// part and each operand evaluated on its own counts one level) are refused:
// EvaluateArithmetic gives NaN, EvaluateLogical raises -1. Chains such as
// 1+1+...+1 are evaluated in a loop and do not count towards the depth.
inline constexpr int VrMaxExpressionLength = 8192;
inline constexpr int VrMaxExpressionDepth = 200;

// Date and time as a day number: days since 1899-12-30 00:00 with the time of
// day as the fraction (2009-07-15 18:00 is 40009.75), the serial date of
// desktop spreadsheets and date types. Local time.
double DayNumber(const QDateTime &dateTime);
// The current local date and time as a day number; "NOW" in expressions.
double NowDayNumber();

// Arithmetic on numbers and "NOW" (any case). A number is the longest leading
// number of an operand (0 when there is none, so an empty operand is 0).
// Division by zero follows IEEE: +-inf, or NaN for 0/0. NaN also for a text
// beyond the bounds above.
double EvaluateArithmetic(const QString &text);

// One comparison: the first of "<>", ">=", "<=", ">", "<", "=" that occurs
// splits the text; both sides are trimmed, unquoted, "NOW" is replaced by the
// current day number, and the texts are compared locale-aware, with regard to
// case. Without an operator the text must be "true" or "false" (any case,
// blanks around ignored). Raises VrCommonException -1 otherwise.
bool EvaluateComparison(const QString &text);

// Comparisons combined with "|", "&", "!" and parentheses; "|" and "&" have
// no precedence over each other beyond "|" being split first, and the right
// side is evaluated only when needed. Raises VrCommonException -1 for a bad
// operand or a text beyond the bounds above.
bool EvaluateLogical(const QString &text);
