#include "VrCommon.h"
#include "VrConstraintFormat.h"

#include <gtest/gtest.h>

namespace {

int formatError(const QString &format)
{
    try {
        VrConstraintFormat::Parse(format);
    } catch (const VrCommonException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("(VrCommon) Bad format specifier of edit's constraint!"));
        return e.Code();
    }
    return 0;
}

// What the edit box ends up holding after typing: bad characters are removed
// one at a time, as each removal changes the text again.
QString typed(const VrConstraintFormat &f, QString text)
{
    for (int bad; (bad = f.FirstDisallowed(text)) >= 0;)
        text.remove(bad, 1);
    return text;
}

} // namespace

TEST(VrConstraintFormat, ParsesDefaultsAndEveryBraceOption)
{
    const VrConstraintFormat i = VrConstraintFormat::Parse("%i");
    EXPECT_EQ(i.minimum, -2147483648.0);
    EXPECT_EQ(i.maximum, 2147483647.0);
    EXPECT_EQ(i.length, 0);

    const VrConstraintFormat f = VrConstraintFormat::Parse("%f{n-1.5x99.25l12afnw80e;}");
    EXPECT_EQ(f.minimum, -1.5);
    EXPECT_EQ(f.maximum, 99.25);
    EXPECT_EQ(f.length, 12);
    EXPECT_EQ(f.flags, VrConstraintFormat::AutoAdvance | VrConstraintFormat::FixedLength
                           | VrConstraintFormat::NotEmpty);
    EXPECT_EQ(f.width, 80);
    EXPECT_EQ(f.exitChar, QLatin1Char(';'));

    const VrConstraintFormat n = VrConstraintFormat::Parse("%n.{n0x255l4f}");
    EXPECT_EQ(n.delimiter, QLatin1Char('.'));
    EXPECT_EQ(n.maximum, 255.0);
    EXPECT_EQ(n.flags, VrConstraintFormat::FixedLength);
}

TEST(VrConstraintFormat, RefusesBadFormatsWithCodeMinusTwo)
{
    for (const char *bad : {"", "%", "u", "%z", "%n", "%u5", "%u{", "%u{n1", "%u{n1}x", "%u{q1}",
                            "%u{n}", "%u{n-}", "%u{x1.2.3}", "%s{l}", "%s{w}", "%s{e}",
                            "%s{l99999999999}", "%s{l5n1}"})
        EXPECT_EQ(formatError(QString::fromLatin1(bad)), VrCommonBadFormat) << bad;
}

TEST(VrConstraintFormat, SplitsMultiConversionFormatsBeforeEachPercent)
{
    EXPECT_EQ(VrConstraintFormat::Split("%u{n1x65535}%h%n.{l4f}"),
              QStringList({"%u{n1x65535}", "%h", "%n.{l4f}"}));
    EXPECT_EQ(VrConstraintFormat::Split("%s"), QStringList({"%s"}));
    EXPECT_TRUE(VrConstraintFormat::Split("").isEmpty());
}

TEST(VrConstraintFormat, FiltersCharactersPerConversion)
{
    const auto parse = VrConstraintFormat::Parse;
    EXPECT_EQ(typed(parse("%u{n1x4094}"), "12a"), "12");
    EXPECT_EQ(typed(parse("%h"), "0aFg-9"), "0aF9");
    EXPECT_EQ(typed(parse("%i"), "-12-3"), "-123");
    EXPECT_EQ(typed(parse("%f"), "-1.5.2x"), "-1.52");
    EXPECT_EQ(typed(parse("%n."), ".192..168.0"), "192.168.0");
    EXPECT_EQ(typed(parse("%s"), "any thing!"), "any thing!");
    EXPECT_EQ(parse("%u").FirstDisallowed("(NULL)"), -1);
    EXPECT_EQ(parse("%u").FirstDisallowed("(NOTDONE)"), -1);
}

TEST(VrConstraintFormat, AutoAdvancesOnlyAtTheLengthOfAnAdvancingEdit)
{
    const VrConstraintFormat f = VrConstraintFormat::Parse("%s{l3a}");
    EXPECT_FALSE(f.AutoAdvances("ab"));
    EXPECT_TRUE(f.AutoAdvances("abc"));
    EXPECT_FALSE(VrConstraintFormat::Parse("%s{l3}").AutoAdvances("abc"));
}

TEST(VrConstraintFormat, NumberRangeMessageShowsShortestBounds)
{
    const VrConstraintFormat f = VrConstraintFormat::Parse("%u{n1x4094}");
    const VrConstraintResult r = f.CheckExit("5000");
    EXPECT_EQ(r.code, VrCommonNumberRange);
    EXPECT_EQ(r.message, "(VrCommon) Please enter a number between 1 and 4094!");
    EXPECT_TRUE(f.CheckExit("1").accepted());
    EXPECT_TRUE(f.CheckExit("4094").accepted());

    // A real number's default range starts at the smallest positive normal
    // double, so 0 is refused and the bound stays readable.
    const VrConstraintResult real = VrConstraintFormat::Parse("%f").CheckExit("0");
    EXPECT_EQ(real.message, "(VrCommon) Please enter a number between 2.2250738585072014e-308 and "
                            "1.7976931348623157e+308!");
    EXPECT_EQ(VrConstraintFormat::Parse("%f{n-1x1}").CheckExit("nan").code, VrCommonNumberRange);
}

TEST(VrConstraintFormat, EmptyTextNeedsTheNotEmptyFlagToBeRefused)
{
    const VrConstraintResult r = VrConstraintFormat::Parse("%s{l5fn}").CheckExit("");
    EXPECT_EQ(r.code, VrCommonEmptyValue);
    EXPECT_EQ(r.message, "(VrCommon) Empty value is not allowed!");
    EXPECT_TRUE(VrConstraintFormat::Parse("%s{l5f}").CheckExit("").accepted());
    EXPECT_TRUE(VrConstraintFormat::Parse("%s{l5fn}").CheckExit("(NULL)").accepted());
    EXPECT_TRUE(VrConstraintFormat::Parse("%u{n1x4}").CheckExit("(NOTDONE)").accepted());
}

TEST(VrConstraintFormat, TextAndHexLengths)
{
    const VrConstraintResult fixed = VrConstraintFormat::Parse("%s{l5f}").CheckExit("abc");
    EXPECT_EQ(fixed.code, VrCommonFixedLength);
    EXPECT_EQ(fixed.message, "(VrCommon) Please enter a string whose length is 5!");

    const VrConstraintResult longer = VrConstraintFormat::Parse("%s{l3}").CheckExit("abcd");
    EXPECT_EQ(longer.code, VrCommonMaxLength);
    EXPECT_EQ(longer.message, "(VrCommon) Please enter a string whose length is less than 3!");

    EXPECT_EQ(VrConstraintFormat::Parse("%h{l4f}").CheckExit("abc").code, VrCommonHexFixedLength);
    EXPECT_EQ(VrConstraintFormat::Parse("%h{l2}").CheckExit("abc").message,
              "(VrCommon) Please enter a hex string whose length is less than 2!");
    EXPECT_TRUE(VrConstraintFormat::Parse("%s").CheckExit(QString(5000, 'x')).accepted());
}

TEST(VrConstraintFormat, DelimitedNumberCountsAndRanges)
{
    const VrConstraintFormat ip = VrConstraintFormat::Parse("%n.{n0x255l4f}");
    const VrConstraintResult count = ip.CheckExit("1.2.3");
    EXPECT_EQ(count.code, VrCommonFixedCount);
    EXPECT_EQ(count.message, "(VrCommon) Please enter a delimited number string with delimiter '.'.\n"
                             "Here,the count of the number is equal to 4!");
    const VrConstraintResult range = ip.CheckExit("1.2.3.256");
    EXPECT_EQ(range.code, VrCommonNumbersRange);
    EXPECT_EQ(range.message, "(VrCommon) Please enter a delimited number string with delimiter '.'.\n"
                             "Here,each number is between 0 and 255!");
    EXPECT_TRUE(ip.CheckExit("192.168.0.1").accepted());

    const VrConstraintResult many = VrConstraintFormat::Parse("%n,{l2}").CheckExit("1,2,3");
    EXPECT_EQ(many.code, VrCommonMaxCount);
    EXPECT_EQ(many.message, "(VrCommon) Please enter a delimited number string with delimiter ','.\n"
                            "Here,the count of the number is less than 2!");

    // Bounds are truncated to whole numbers before the comparison.
    const VrConstraintFormat truncated = VrConstraintFormat::Parse("%n-{n1.9x3.9}");
    EXPECT_TRUE(truncated.CheckExit("1-3").accepted());
    EXPECT_EQ(truncated.CheckExit("1-4").message,
              "(VrCommon) Please enter a delimited number string with delimiter '-'.\n"
              "Here,each number is between 1 and 3!");
}
