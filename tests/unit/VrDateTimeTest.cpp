#include "VrDateTime.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(VrDateTime, ParsesAndPrintsAValueWithoutOffset)
{
    const VrDateTime d("2009-7-15,13:45:30.5");
    EXPECT_EQ(d.year, 2009);
    EXPECT_EQ(d.deciSeconds, 5);
    EXPECT_EQ(d.ToText(), "2009-7-15,13:45:30.5");
    EXPECT_EQ(d.ToRaw(), QByteArray("\x07\xD9\x07\x0F\x0D\x2D\x1E\x05+\x00\x00", 11));
}

TEST(VrDateTime, OffsetRoundTripsThroughTextAndRaw)
{
    const VrDateTime west("2009-7-15,13:45:30.5,-5:30");
    EXPECT_EQ(west.ToText(), "2009-7-15,13:45:30.5,-5:30");
    const QByteArray raw = west.ToRaw();
    EXPECT_EQ(raw.size(), 11);
    EXPECT_EQ(VrDateTime::FromRaw(raw), west);
    EXPECT_EQ(VrDateTime(VrDateTime::FromRaw(raw).ToText()).ToRaw(), raw);

    EXPECT_EQ(VrDateTime("2009-7-15,13:45:30.5,+8:0").ToText(), "2009-7-15,13:45:30.5,+8:0");
    EXPECT_EQ(VrDateTime("2009-7-15,13:45:30.5,+0:0").ToText(), "2009-7-15,13:45:30.5");
}

TEST(VrDateTime, IncompleteOrOddTextsGiveDefinedFields)
{
    const VrDateTime partial("2009-7");
    EXPECT_EQ(partial.ToText(), "2009-7-0,0:0:0.0");
    EXPECT_EQ(partial.direction, '+');
    // An offset with only one number is not a match of the offset forms.
    EXPECT_EQ(VrDateTime("2009-7-15,1:2:3.4,-5").ToText(), "2009-7-15,1:2:3.4");
    EXPECT_EQ(VrDateTime("").ToRaw(), QByteArray("\0\0\0\0\0\0\0\0+\0\0", 11));
    // Stored modulo the field width, no range checks.
    const VrDateTime wrapped("70000-300-1,99:99:99.99");
    EXPECT_EQ(wrapped.year, 70000 % 65536);
    EXPECT_EQ(wrapped.month, 300 % 256);
    EXPECT_EQ(VrDateTime("-1-1-1").year, 0xFFFF);
}

TEST(VrDateTime, RawValuesOfAnyLength)
{
    const VrDateTime shortForm = VrDateTime::FromRaw(QByteArray("\x07\xD9\x01\x02\x03\x04\x05\x06", 8));
    EXPECT_EQ(shortForm.ToText(), "2009-1-2,3:4:5.6");
    EXPECT_EQ(shortForm.direction, '+');
    const QByteArray longer = QByteArray("\x07\xD9\x01\x02\x03\x04\x05\x06-\x01\x02XYZ", 14);
    EXPECT_EQ(VrDateTime::FromRaw(longer).ToRaw(), longer.left(11));
    // An unknown direction byte is kept but not printed.
    const VrDateTime odd = VrDateTime::FromRaw(QByteArray("\x07\xD9\x01\x02\x03\x04\x05\x06?\x01\x02", 11));
    EXPECT_EQ(odd.ToText(), "2009-1-2,3:4:5.6");
    EXPECT_EQ(odd.ToRaw().at(8), '?');
}

TEST(VrDateTime, SwapYearBytesExchangesTheBytes)
{
    VrDateTime d("2009-1-1");
    d.SwapYearBytes();
    EXPECT_EQ(d.year, 0xD907);
    d.SwapYearBytes();
    EXPECT_EQ(d.year, 2009);
}

TEST(VrDateTime, DefaultIsNowWithoutDeciSecondsOrOffset)
{
    const QDateTime before = QDateTime::currentDateTime();
    const VrDateTime d;
    const QDateTime after = QDateTime::currentDateTime();
    const QDateTime stamped(QDate(d.year, d.month, d.day), QTime(d.hour, d.minutes, d.seconds));
    EXPECT_GE(stamped, before.addMSecs(-before.time().msec()));
    EXPECT_LE(stamped, after);
    EXPECT_EQ(d.deciSeconds, 0);
    EXPECT_EQ(d.direction, '+');
    EXPECT_EQ(d.utcHours, 0);
    EXPECT_EQ(d.utcMinutes, 0);
}
