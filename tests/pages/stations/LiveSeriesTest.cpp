// The arithmetic behind the live charts: counter deltas across a 32-bit wrap,
// segments after a clear, a gap or a pause, the sliding window and the files.
#include "LiveSeries.h"

#include <gtest/gtest.h>
#include <variant>

using namespace Stations;

namespace {

constexpr quint64 Top = 4294967296ull;

TEST(CounterDelta, WrapsOnlyWhereA32BitCounterPlausiblyWent)
{
    const struct {
        quint64 before, after;
        std::optional<quint64> delta;
    } cases[] = {
        {10, 15, 5},
        {7, 7, 0},
        {Top - 6, 5, 11},                  // wrapped
        {Top - 1000000, 24, 1000024},      // wrapped, a large step
        {3000000000ull, 0, std::nullopt},  // cleared from high up
        {5000, 10, std::nullopt},          // cleared or restarted
        {Top + 5, 3, std::nullopt},        // a 64-bit counter does not wrap at 2^32
    };
    for (const auto &c : cases)
        EXPECT_EQ(CounterDelta(c.before, c.after), c.delta) << c.before << " -> " << c.after;
}

struct Gap {};
struct Break {};
using Step = std::variant<std::pair<qint64, std::vector<quint64>>, Gap, Break>;

TEST(RateSeries, RatesStartAnewAfterClearsGapsAndPauses)
{
    using Rates = std::vector<double>;
    const struct {
        const char *what;
        std::vector<Step> steps;
        std::vector<Rates> rates; // per sample kept
    } cases[] = {
        {"steady", {std::pair<qint64, std::vector<quint64>>{0, {0, 0}}, std::pair<qint64, std::vector<quint64>>{2000, {200, 4000}}},
         {{}, {100, 2000}}},
        {"wrap", {std::pair<qint64, std::vector<quint64>>{0, {Top - 300, 1}}, std::pair<qint64, std::vector<quint64>>{2000, {700, 3}}},
         {{}, {500, 1}}},
        {"clear from high up starts a segment, no negative or huge rate",
         {std::pair<qint64, std::vector<quint64>>{0, {5000, 3000000000ull}}, std::pair<qint64, std::vector<quint64>>{2000, {0, 0}},
          std::pair<qint64, std::vector<quint64>>{4000, {100, 50000}}},
         {{}, {}, {50, 25000}}},
        {"one counter down resets the group",
         {std::pair<qint64, std::vector<quint64>>{0, {100, 3000000000ull}}, std::pair<qint64, std::vector<quint64>>{1000, {0, 3500000000ull}}},
         {{}, {}}},
        {"gap", {std::pair<qint64, std::vector<quint64>>{0, {0, 0}}, Gap{}, std::pair<qint64, std::vector<quint64>>{4000, {40, 40}},
                 std::pair<qint64, std::vector<quint64>>{6000, {60, 80}}},
         {{}, {}, {}, {10, 20}}},
        {"pause", {std::pair<qint64, std::vector<quint64>>{0, {0, 0}}, Break{}, std::pair<qint64, std::vector<quint64>>{2000, {10, 10}}},
         {{}, {}}},
    };
    for (const auto &c : cases) {
        RateSeries series(2, 600000);
        qint64 last = 0;
        for (const Step &step : c.steps) {
            if (const auto *reading = std::get_if<0>(&step))
                series.add(last = reading->first, 1000000 + reading->first, reading->second);
            else if (std::holds_alternative<Gap>(step)) {
                last += 2000;
                series.addGap(last, 1000000 + last);
            }
            else
                series.breakSegment();
        }
        ASSERT_EQ(series.samples().size(), c.rates.size()) << c.what;
        for (size_t i = 0; i < c.rates.size(); ++i)
            EXPECT_EQ(series.samples()[i].rates, c.rates[i]) << c.what << " sample " << i;
    }
}

TEST(RateSeries, KeepsTheWindowAndWritesEveryCounterAndRate)
{
    RateSeries series(2, 10000);
    for (qint64 ms = 0; ms <= 30000; ms += 2000)
        series.add(ms, ms, {quint64(ms), quint64(ms / 2)});
    EXPECT_EQ(series.samples().size(), 6u);
    EXPECT_EQ(series.samples().front().steadyMs, 20000);
    series.addGap(32000, 32000);
    const QStringList lines = series.csv({"in", "out"}).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "time,in,out,in/s,out/s");
    EXPECT_TRUE(lines[1].endsWith(",22000,11000,1000.000,500.000")) << lines[1].toStdString();
    EXPECT_TRUE(lines[6].endsWith(",,,,")) << lines[6].toStdString();
    EXPECT_EQ(lines[6].section(',', 0, 0), CsvTime(32000));
}

TEST(SignalHistory, AStationThatLeavesEndsItsLine)
{
    SignalHistory history(600000);
    history.add(0, {{"A", 50}, {"B", 60}});
    history.add(2000, {{"A", 55}});
    history.add(4000, {{"A", 57}, {"B", 62}});
    history.breakSegment();
    history.add(6000, {{"A", 58}, {"B", 63}});
    using Run = std::vector<std::pair<qint64, int>>;
    EXPECT_EQ(history.lines("A"), (std::vector<Run>{{{0, 50}, {2000, 55}, {4000, 57}}, {{6000, 58}}}));
    EXPECT_EQ(history.lines("B"), (std::vector<Run>{{{0, 60}}, {{4000, 62}}, {{6000, 63}}}));
    const QStringList lines = history.csv().split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines[0], "time,A,B");
    EXPECT_TRUE(lines[2].endsWith(",55,")) << lines[2].toStdString();
}

} // namespace
