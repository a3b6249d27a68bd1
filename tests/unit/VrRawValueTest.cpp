#include "VrRawValue.h"
#include "VrSNMPError.h"
#include "VrSNMPVarList.h"

#include <gtest/gtest.h>
#include <cstring>
#include <functional>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

int codeOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VrSNMPException &e) {
        return e.Code();
    }
    return 0;
}

// Text -> bytes -> text for one syntax.
void roundTrip(int syntax, const QString &text, const QByteArray &raw)
{
    SCOPED_TRACE(QStringLiteral("syntax %1, %2").arg(syntax).arg(text).toStdString());
    EXPECT_EQ(VrRawFromText(text, syntax).toHex(), raw.toHex());
    EXPECT_EQ(VrRawToText(raw, syntax), text);
}

} // namespace

TEST(VrRawValue, NumbersAreLittleEndianExceptTheSixteenBitParts)
{
    roundTrip(VrSyntaxInteger, "-2", bytes({0xFE, 0xFF, 0xFF, 0xFF}));
    roundTrip(VrSyntaxInteger, "258", bytes({0x02, 0x01, 0, 0}));
    roundTrip(VrSyntaxGauge32, "4294967295", bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    roundTrip(VrSyntaxCounter64, "4294967298", bytes({2, 0, 0, 0, 1, 0, 0, 0}));
    roundTrip(VrSyntaxTimeTicks, "1 days, 00:00:00.01", bytes({0x01, 0xD6, 0x83, 0x00}));
    roundTrip(VrSyntaxReal, "2.5", bytes({0, 0, 0, 0, 0, 0, 0x04, 0x40}));
    roundTrip(VrPartInt8, "-1", bytes({0xFF}));
    roundTrip(VrPartUInt8, "255", bytes({0xFF}));
    roundTrip(VrPartUInt16, "65534", bytes({0xFF, 0xFE}));
    EXPECT_EQ(VrRawToText(bytes({0xFF, 0xFE}), VrPartInt16), "65534");
    // Read as the C library reads numbers: up to the first non-digit.
    EXPECT_EQ(VrRawFromText(" 12abc", VrSyntaxInteger), bytes({12, 0, 0, 0}));
    EXPECT_EQ(VrRawFromText("x", VrSyntaxCounter32), bytes({0, 0, 0, 0}));
}

TEST(VrRawValue, TruthValuesInEveryWidth)
{
    roundTrip(VrSyntaxTruthValue, "true", bytes({1, 0, 0, 0}));
    roundTrip(VrSyntaxTruthValue, "false", bytes({0, 0, 0, 0}));
    roundTrip(VrPartBool8, "true", bytes({1}));
    roundTrip(VrPartBool16, "true", bytes({0, 1}));
    roundTrip(VrPartBool16, "false", bytes({0, 0}));
    EXPECT_EQ(VrRawFromText("TRUE", VrPartBool8), bytes({0})); // only "true" is true
}

TEST(VrRawValue, AddressesStringsAndIdentifiers)
{
    roundTrip(VrSyntaxIpAddress, "192.168.0.254", bytes({192, 168, 0, 254}));
    roundTrip(VrSyntaxOid, "1.3.6.300", bytes({1, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0, 0x2C, 1, 0, 0}));
    roundTrip(VrSyntaxMacAddress, "00A0C9123456", bytes({0, 0xA0, 0xC9, 0x12, 0x34, 0x56}));
    roundTrip(VrSyntaxOctetHex, "0ABC", bytes({0x0A, 0xBC}));
    roundTrip(VrSyntaxDisplayString, "abc", QByteArray("abc"));
    // Hex ignores blanks; an odd digit count makes the first digit a byte.
    EXPECT_EQ(VrRawFromText("A BC", VrSyntaxOctetHex), bytes({0x0A, 0xBC}));
    EXPECT_EQ(codeOf([] { VrRawFromText("0G", VrSyntaxOctetHex); }), VrErrBadPartValue);
    EXPECT_EQ(codeOf([] { VrRawFromText("1..x", VrSyntaxOid); }), VrErrBadPartValue);
}

TEST(VrRawValue, DatesInBothLayouts)
{
    roundTrip(VrSyntaxDateAndTime, "2009-7-15,13:45:30.5", bytes({0x07, 0xD9, 7, 15, 13, 45, 30, 5, '+', 0, 0}));
    roundTrip(VrSyntaxDateAndTime, "2009-7-15,13:45:30.5,-5:30",
              bytes({0x07, 0xD9, 7, 15, 13, 45, 30, 5, '-', 5, 30}));
    // Day 40000 is 2009/07/06; a quarter day later is 06:00 in the morning.
    const QByteArray raw = VrRawFromText("2009/07/06 06:00:00 am", VrSyntaxDateTime8);
    ASSERT_EQ(raw.size(), 8);
    double day;
    std::memcpy(&day, raw.constData(), 8); // little-endian host
    EXPECT_DOUBLE_EQ(day, 40000.25);
    EXPECT_EQ(VrRawToText(raw, VrSyntaxDateTime8).toLower(), "2009/07/06 06:00:00 am");
}

TEST(VrRawValue, NullAndShortValues)
{
    for (int syntax : {1, 2, 3, 4, 5, 6, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76,
                       193, 194, 195, 196, 197, 198}) {
        SCOPED_TRACE(syntax);
        EXPECT_TRUE(VrRawFromText("(NULL)", syntax).isEmpty());
        EXPECT_EQ(VrRawToText({}, syntax), syntax == VrSyntaxDisplayString ? "" : "(NULL)");
    }
    EXPECT_EQ(codeOf([] { VrRawToText(bytes({1, 2, 3}), VrSyntaxInteger); }), VrErrBadPartValue);
    EXPECT_EQ(codeOf([] { VrRawToText(bytes({1, 2, 3}), VrSyntaxIpAddress); }), VrErrBadPartValue);
    EXPECT_EQ(codeOf([] { VrRawToText(bytes({1, 2, 3, 4, 5}), VrSyntaxMacAddress); }), VrErrBadPartValue);
    EXPECT_EQ(codeOf([] { VrRawToText(bytes({1}), VrPartUInt16); }), VrErrBadPartValue);
    EXPECT_EQ(codeOf([] { VrRawToText(bytes({1, 2, 3, 4, 5, 6, 7}), VrSyntaxCounter64); }), VrErrBadPartValue);
    // Extra bytes of a multi-byte number are ignored.
    EXPECT_EQ(VrRawToText(bytes({5, 0, 0, 0, 9}), VrSyntaxInteger), "5");
}

TEST(VrRawValue, UnknownSyntaxIsRefusedEverywhere)
{
    for (int syntax : {0, 7, 77, 192, 199}) {
        SCOPED_TRACE(syntax);
        EXPECT_EQ(codeOf([=] { VrRawFromText("1", syntax); }), VrErrBadSyntax);
        EXPECT_EQ(codeOf([=] { VrRawToText(bytes({1}), syntax); }), VrErrBadSyntax);
        EXPECT_EQ(codeOf([=] { VrRawCut(bytes({1}), 0, syntax); }), VrErrBadSyntax);
    }
}

TEST(VrRawValue, CuttingParts)
{
    const QByteArray value = bytes({1, 2, 3, 4, 5});
    EXPECT_EQ(VrRawCut(value, 1, VrSyntaxInteger), bytes({2, 3, 4, 5}));
    EXPECT_EQ(VrRawCut(value, 3, VrPartUInt16), bytes({4, 5}));
    EXPECT_EQ(VrRawCut(value, 4, VrPartBool8), bytes({5}));
    EXPECT_EQ(VrRawCut(value, 2, VrSyntaxOctetHex), bytes({3, 4, 5}));
    EXPECT_EQ(VrRawCut(value, 5, VrSyntaxDisplayString), QByteArray());
    EXPECT_TRUE(VrRawCut(value, 1, VrSyntaxNull).isEmpty());
    EXPECT_TRUE(VrRawCut({}, 7, VrSyntaxIpAddress).isEmpty());
    // A 4-byte integer at offset 2 of a 5-byte value runs past its end.
    EXPECT_EQ(codeOf([&] { VrRawCut(value, 2, VrSyntaxInteger); }), VrErrPartIndexRange);
    EXPECT_EQ(codeOf([&] { VrRawCut(value, 6, VrSyntaxOctetHex); }), VrErrPartIndexRange);
    EXPECT_EQ(codeOf([&] { VrRawCut(value, -1, VrPartUInt8); }), VrErrPartIndexRange);
}

TEST(VrRawValue, MergingPadsWithZeros)
{
    QByteArray value = bytes({1, 2});
    VrRawMerge(value, 4, bytes({9, 9}), VrPartUInt16);
    EXPECT_EQ(value, bytes({1, 2, 0, 0, 9, 9}));
    VrRawMerge(value, 1, bytes({7}), VrPartUInt8);
    EXPECT_EQ(value, bytes({1, 7, 0, 0, 9, 9}));
}

TEST(VrRawValue, ShorterVariableLengthPartsLeaveNoOldTail)
{
    QByteArray value = bytes({1, 2, 3, 4, 5});
    VrRawMerge(value, 1, bytes({8}), VrSyntaxOctetHex);
    EXPECT_EQ(value, bytes({1, 8}));
    VrRawMerge(value, 0, bytes({1, 0, 0, 0}), VrSyntaxOid);
    EXPECT_EQ(value, bytes({1, 0, 0, 0}));
}
