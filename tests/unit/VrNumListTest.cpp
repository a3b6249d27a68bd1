#include "VrNumList.h"

#include <gtest/gtest.h>

TEST(VrNumList, ParsesSelectionsAndFindsPositions)
{
    VrNumList list(QLatin1Char(','));
    list.Parse("1,3,5");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(2), 5);
    EXPECT_EQ(list.IndexOf(3), 1);
    EXPECT_EQ(list.IndexOf(4), -1);
    list.Parse("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(VrNumList, CountFollowsSeparatorsAndEmptyPiecesAreZero)
{
    VrNumList list(QLatin1Char(','));
    list.Parse(",7,");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0), 0);
    EXPECT_EQ(list.At(1), 7);
    EXPECT_EQ(list.At(2), 0);
}

TEST(VrNumList, FractionsDoNotChangeTheWholeNumber)
{
    VrNumList list(QLatin1Char(','));
    list.Parse("12.99,3.5.7");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0), 12);
    EXPECT_EQ(list.At(1), 3);
}

TEST(VrNumList, JunkCountsAsDigitsAndHugeNumbersWrapWithoutTrapping)
{
    VrUNumList list; // "." separated
    list.Parse("1a.99999999999999999999");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0), 10u + uint32_t('a' - '0'));
    list.Parse("192.168.0.1");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.AllWithin(0, 255));
    EXPECT_FALSE(list.AllWithin(1, 255));
}

TEST(VrNumList, EmptyListIsWithinAnyRange)
{
    VrUNumList list;
    EXPECT_TRUE(list.AllWithin(5, 1));
}
