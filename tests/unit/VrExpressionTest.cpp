#include "VrCommon.h"
#include "VrExpression.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int logicalError(const QString &text)
{
    try {
        EvaluateLogical(text);
    } catch (const VrCommonException &e) {
        return e.Code();
    }
    return 0;
}

QString nested(int depth, const QString &core)
{
    return QString(depth, '(') + core + QString(depth, ')');
}

} // namespace

TEST(VrExpression, DayNumberCountsDaysSinceTheEndOf1899)
{
    EXPECT_EQ(DayNumber(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(DayNumber(QDateTime(QDate(2009, 7, 15), QTime(18, 0))), 40009.75);
    EXPECT_EQ(DayNumber(QDateTime(QDate(1899, 12, 29), QTime(12, 0))), -0.5);
}

TEST(VrExpression, ArithmeticFollowsItsTextualRules)
{
    EXPECT_EQ(EvaluateArithmetic("2*(3+4)"), 14.0);
    EXPECT_EQ(EvaluateArithmetic("10-4-3"), 9.0);   // 10-(4-3)
    EXPECT_EQ(EvaluateArithmetic("8/4/2"), 4.0);    // 8/(4/2)
    EXPECT_EQ(EvaluateArithmetic("6/2*3"), 18.0);   // "6/2" read as one number
    EXPECT_EQ(EvaluateArithmetic("-5"), -5.0);      // empty left side is 0
    EXPECT_EQ(EvaluateArithmetic(" 2 * 3 "), 6.0);
    EXPECT_EQ(EvaluateArithmetic("((1+2)*(3+4))/7"), 3.0);
    EXPECT_EQ(EvaluateArithmetic("2.5kbps"), 2.5);
    EXPECT_EQ(EvaluateArithmetic(""), 0.0);
}

TEST(VrExpression, ParenthesisedResultsKeepTheirValueWhenPutBack)
{
    // Written with an exponent, 1e+20 would be split at its "+".
    EXPECT_EQ(EvaluateArithmetic("2*(1e20)"), 2e20);
    EXPECT_EQ(EvaluateArithmetic("2*(0.000001)"), 2e-6);
    EXPECT_EQ(EvaluateArithmetic("(0.1+0.2)*10"), (0.1 + 0.2) * 10);
}

TEST(VrExpression, ArithmeticBadInputHasDefinedResults)
{
    EXPECT_TRUE(std::isinf(EvaluateArithmetic("1/0")));
    EXPECT_TRUE(std::isnan(EvaluateArithmetic("0/0")));
    EXPECT_TRUE(std::isnan(EvaluateArithmetic("(1/0)*0")));
    // An unclosed first "(" is no parenthesis: "((1" reads as 0, "2)" as 2.
    EXPECT_EQ(EvaluateArithmetic("((1+2)"), 2.0);
    EXPECT_EQ(EvaluateArithmetic("()"), 0.0);

    EXPECT_EQ(EvaluateArithmetic(nested(50, "1+1")), 2.0);
    EXPECT_TRUE(std::isnan(EvaluateArithmetic(nested(4000, "1"))));
    EXPECT_EQ(EvaluateArithmetic(QString(4000, '(') + "1"), 0.0);

    QString chain = "1";
    for (int i = 1; i < 2000; ++i)
        chain += i % 2 ? "+1" : "-0";
    EXPECT_EQ(EvaluateArithmetic(chain), 1001.0); // 1+(1-0)+(1-0)+...
    EXPECT_TRUE(std::isnan(EvaluateArithmetic(QString(VrMaxExpressionLength + 1, '1'))));
}

TEST(VrExpression, NowIsTheCurrentDayNumber)
{
    const double before = NowDayNumber();
    const double now = EvaluateArithmetic("now");
    const double later = EvaluateArithmetic("(NOW - 1)*2");
    const double after = NowDayNumber();
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
    EXPECT_GE(later, (before - 1) * 2);
    EXPECT_LE(later, (after - 1) * 2);
}

TEST(VrExpression, ComparisonComparesTexts)
{
    EXPECT_TRUE(EvaluateComparison(" \"a b\" = a b "));
    EXPECT_FALSE(EvaluateComparison("B=b"));
    EXPECT_TRUE(EvaluateComparison("abc<>abd"));  // not "<" of "abc" and ">abd"
    EXPECT_TRUE(EvaluateComparison("a>=a"));
    EXPECT_FALSE(EvaluateComparison("2<10"));     // texts, not numbers
    EXPECT_FALSE(EvaluateComparison("now<>\"now\"")); // both sides become the same day number
}

TEST(VrExpression, ComparisonAcceptsOnlyTruthLiteralsWithoutOperator)
{
    EXPECT_TRUE(EvaluateComparison("true"));
    EXPECT_FALSE(EvaluateComparison(" FALSE "));
    for (const char *bad : {"", "maybe", "1", "\"true\"x"}) {
        try {
            EvaluateComparison(QString::fromLatin1(bad));
            ADD_FAILURE() << bad;
        } catch (const VrCommonException &e) {
            EXPECT_EQ(e.Code(), VrCommonBadLogicOperand);
            EXPECT_EQ(e.Message(), "(VrCommon) Bad logic operand!");
        }
    }
}

TEST(VrExpression, LogicalOperatorsAndQuoting)
{
    EXPECT_TRUE(EvaluateLogical("\"a|b\"=\"a|b\""));
    EXPECT_TRUE(EvaluateLogical("\"a&(b\"=\"a&(b\""));
    EXPECT_FALSE(EvaluateLogical("a=b|b=c"));
    EXPECT_FALSE(EvaluateLogical("a=a&b=c"));
    EXPECT_TRUE(EvaluateLogical("!a=b"));
    EXPECT_FALSE(EvaluateLogical("!(a=a)"));
    EXPECT_TRUE(EvaluateLogical("(a=a) & (b=b | c=d)"));
    EXPECT_FALSE(EvaluateLogical("(a=a"));  // unclosed: "(a" is compared with "a"
}

TEST(VrExpression, LogicalEvaluatesTheRightSideOnlyWhenNeeded)
{
    EXPECT_TRUE(EvaluateLogical("a=a|junk"));
    EXPECT_FALSE(EvaluateLogical("a=b&junk"));
    EXPECT_EQ(logicalError("a=b|junk"), VrCommonBadLogicOperand);
    EXPECT_EQ(logicalError("a=a&"), VrCommonBadLogicOperand);
}

TEST(VrExpression, LogicalBadInputIsRefusedNotRecursedInto)
{
    EXPECT_TRUE(EvaluateLogical(nested(50, "a=a")));
    EXPECT_EQ(logicalError(nested(3000, "a=a")), VrCommonBadLogicOperand);
    EXPECT_FALSE(EvaluateLogical(QString(5001, '!') + "a=a")); // negations loop
    QString chain = "a=b";
    for (int i = 0; i < 1000; ++i)
        chain += "|a=b";
    EXPECT_FALSE(EvaluateLogical(chain));
    EXPECT_EQ(logicalError(QString(VrMaxExpressionLength, ' ') + "a=a"), VrCommonBadLogicOperand);
}
