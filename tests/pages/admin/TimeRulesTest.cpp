#include "TimeRules.h"

#include "VrOptionList.h"

#include <gtest/gtest.h>

TEST(TimeRules, SeventyFiveZonesInOffsetOrder)
{
    const QStringList zones = TimeZoneTexts();
    ASSERT_EQ(zones.size(), TimeZoneCount);
    EXPECT_EQ(zones.at(0), "(GMT-12:00) International Date Line West");
    EXPECT_EQ(zones.at(1), "(GMT-11:00) Midway Island, Samoa");
    EXPECT_EQ(zones.at(2), "(GMT-10:00) Hawaii");
    EXPECT_EQ(zones.at(26), "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London");
    EXPECT_EQ(zones.at(27), "(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna");
    EXPECT_EQ(zones.at(73), "(GMT+12:00) Fiji, Kamchatka, Marshall Is.");
    EXPECT_EQ(zones.at(74), "(GMT+13:00) Nuku'alofa");

    // Values run 1..75 in list order, and the offsets never go backwards.
    int previous = -24 * 60;
    for (int i = 0; i < TimeZoneCount; ++i) {
        EXPECT_EQ(TimeZoneDefs()[i].value, i + 1);
        const QString z = zones.at(i);
        int minutes = 0;
        if (!z.startsWith("(GMT) ")) {
            ASSERT_TRUE(z.size() > 11 && z.at(10) == u')' && z.at(11) == u' ') << z.toStdString();
            minutes = z.mid(5, 2).toInt() * 60 + z.mid(8, 2).toInt();
            if (z.at(4) == u'-')
                minutes = -minutes;
        }
        EXPECT_GE(minutes, previous) << z.toStdString();
        previous = minutes;
    }
}

TEST(TimeRules, DaylightSavingOnlyForTheListedZones)
{
    const int listed[] = {4,  5,  7,  8,  10, 11, 14, 16, 18, 19, 20, 22, 23, 24, 27, 28, 29, 30, 31,
                          33, 34, 35, 37, 39, 41, 43, 45, 47, 51, 56, 58, 64, 65, 68, 70, 71, 73};
    int count = 0;
    for (int zone = 0; zone <= 76; ++zone)
        count += ZoneHasDaylightSaving(zone);
    EXPECT_EQ(count, int(std::size(listed)));
    for (int zone : listed)
        EXPECT_TRUE(ZoneHasDaylightSaving(zone)) << zone;
}

TEST(TimeRules, YearsReachPastTheComputersClock)
{
    EXPECT_EQ(YearEntries(2008).first(), "2002");
    EXPECT_EQ(YearEntries(2008).last(), "2037");
    EXPECT_EQ(YearEntries(2031).last(), "2041");
    const int now = QDate::currentDate().year();
    EXPECT_TRUE(YearEntries(now).contains(QString::number(now)));
}

TEST(TimeRules, ManualTimeForm)
{
    const ClockFields f = ClockFieldsOf(QDateTime(QDate(2008, 3, 15), QTime(14, 5, 9)));
    EXPECT_EQ(ComposeManualTime(f), "03/15/2008 14:05:09");
    EXPECT_TRUE(f.complete());
    ClockFields noYear = f;
    noYear.year.clear();
    EXPECT_FALSE(noYear.complete());
    EXPECT_EQ(TwoDigitEntries(0, 59).size(), 60);
    EXPECT_EQ(TwoDigitEntries(1, 31).last(), "31");
}
