#include "VrTextUtil.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(VrTextUtil, UnquoteRemovesOnlyAPairOfDoubleQuotes)
{
    EXPECT_EQ(Unquote("\"abc\""), "abc");
    EXPECT_EQ(Unquote("\"\""), "");
    EXPECT_EQ(Unquote("\""), "");
    EXPECT_EQ(Unquote("\"abc"), "\"abc");
    EXPECT_EQ(Unquote("'abc'"), "'abc'");
    EXPECT_EQ(Unquote(""), "");
}

TEST(VrTextUtil, SpanOfFindsTheEndOfARunFromAOneBasedStart)
{
    const QString digits = "0123456789";
    EXPECT_EQ(SpanOf("abc123def", 4, digits), 6);
    EXPECT_EQ(SpanOf("abc123", 5, digits), 6);
    EXPECT_EQ(SpanOf("abc123", 1, digits), 0);
    EXPECT_EQ(SpanOf("abc123", 0, digits), 0);
    EXPECT_EQ(SpanOf("abc123", 7, digits), 0);
    EXPECT_EQ(SpanOf("", 1, digits), 0);
}

TEST(VrTextUtil, ReplaceAllDoesNotRescanReplacements)
{
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("abab", "ab", ""), "");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("%v/100", "%v", "250"), "250/100");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(VrTextUtil, LeadingNumberReadsLikeTheCLibrary)
{
    EXPECT_EQ(LeadingNumber(u"12abc"), 12.0);
    EXPECT_EQ(LeadingNumber(u"  -1.5e3x"), -1500.0);
    EXPECT_EQ(LeadingNumber(u"+7"), 7.0);
    EXPECT_EQ(LeadingNumber(u"abc"), 0.0);
    EXPECT_EQ(LeadingNumber(u""), 0.0);
    EXPECT_EQ(LeadingNumber(u"1,5"), 1.0);
    EXPECT_TRUE(std::isinf(LeadingNumber(u"1e999")));
}
