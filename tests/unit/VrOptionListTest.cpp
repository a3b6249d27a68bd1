#include "VrOptionList.h"

#include <gtest/gtest.h>

namespace {
const VrOptionNumDef kModes[] = {
    {1, "Access Point"}, {2, "WDS with AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionTextDef kBands[] = {{"a", "5GHz"}, {"g", "2.4GHz"}, {nullptr, nullptr}};
const VrOptionTextDef kPrefixes[] = {{"1.3.6.1.4.1", "enterprises"}, {"1.3.6.1.2.1", "mib-2"}, {nullptr, nullptr}};
} // namespace

TEST(VrOptionList, NumericListMapsBothWays)
{
    VrOptionList list(kModes);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.ValueToText("4"), "Wireless Client");
    EXPECT_EQ(list.TextToValue("WDS"), "3");
    EXPECT_EQ(list.FindByValue("2"), 1);
    EXPECT_EQ(list.FindByText("wds with ap"), 1); // case-insensitive list
}

TEST(VrOptionList, NumericListRefusesNullAndNonNumbersAndPassesUnknownThrough)
{
    VrOptionList list(kModes);
    EXPECT_EQ(list.FindByValue("(NULL)"), -1);
    EXPECT_EQ(list.FindByValue("2x"), -1);
    EXPECT_EQ(list.FindByValue("99999999999"), -1);
    EXPECT_EQ(list.ValueToText("9"), "9");
    EXPECT_EQ(list.TextToValue("Router"), "Router");
}

TEST(VrOptionList, CaseSensitiveTextListComparesExactly)
{
    VrOptionList list(kBands, VrOptionList::Text, true);
    EXPECT_EQ(list.FindByValue("a"), 0);
    EXPECT_EQ(list.FindByValue("A"), -1);
    EXPECT_EQ(list.FindByText("5ghz"), -1);
    EXPECT_EQ(list.TextToValue("2.4GHz"), "g");
}

TEST(VrOptionList, PrefixListCarriesTheRestAcross)
{
    VrOptionList list(kPrefixes, VrOptionList::Prefix);
    EXPECT_EQ(list.ValueToText("1.3.6.1.4.1.9"), "enterprises.9");
    EXPECT_EQ(list.TextToValue("enterprises.9"), "1.3.6.1.4.1.9");
    EXPECT_EQ(list.FindByText("ent"), -1); // the text must be at least as long as the prefix
    EXPECT_EQ(list.ValueToText("1.3.6.2"), "1.3.6.2");
}

TEST(VrOptionList, AppendAddsAfterExistingEntriesAndNullTablesAreEmpty)
{
    const VrOptionNumDef more[] = {{7, "Router"}, {0, nullptr}};
    const VrOptionNumDef none[] = {{0, nullptr}};
    VrOptionList list(none);
    EXPECT_EQ(list.Count(), 0);
    list.Append(kModes);
    list.Append(more);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.At(4).text, "Router");
    EXPECT_EQ(list.At(4).value, "7");
}
