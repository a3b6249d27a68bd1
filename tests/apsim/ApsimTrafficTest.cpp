// The simulated traffic: counters that only grow, at rates within their
// waves, the same for the same seed, still at a pace of 0; signals that
// drift within 15 points of their base.
#include "Traffic.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(ApsimTraffic, RatesStayWithinTheirWavesAndFollowTheSeed)
{
    const apsim::Traffic traffic(7, 1.0);
    double before = traffic.total(3, 1000, 0);
    EXPECT_EQ(before, 0);
    for (double t = 0.5; t <= 600; t += 0.5) {
        const double now = traffic.total(3, 1000, t);
        const double rate = (now - before) / 0.5;
        ASSERT_GT(rate, 1000 * 0.34) << t;
        ASSERT_LT(rate, 1000 * 1.66) << t;
        before = now;
    }
    EXPECT_EQ(apsim::Traffic(7, 1.0).total(3, 1000, 123.4), traffic.total(3, 1000, 123.4));
    EXPECT_NE(apsim::Traffic(8, 1.0).total(3, 1000, 123.4), traffic.total(3, 1000, 123.4));
    EXPECT_NEAR(apsim::Traffic(7, 20.0).total(3, 1000, 10), traffic.total(3, 1000, 200), 1e-6);
}

TEST(ApsimTraffic, SignalsDriftAroundTheirBaseAndAPaceOfZeroHoldsStill)
{
    const struct {
        long base;
        long low, high;
    } cases[] = {{50, 35, 65}, {5, 1, 20}, {95, 80, 100}};
    const apsim::Traffic traffic(1, 1.0);
    for (const auto &c : cases) {
        std::set<long> seen;
        for (double t = 0; t < 300; t += 1)
            seen.insert(traffic.signal(c.base, 2, t));
        EXPECT_GE(*seen.begin(), c.low) << c.base;
        EXPECT_LE(*seen.rbegin(), c.high) << c.base;
        EXPECT_GT(seen.size(), 5u) << c.base;
    }
    const apsim::Traffic still(1, 0.0);
    EXPECT_EQ(still.total(0, 1000, 500), 0);
    EXPECT_EQ(still.signal(50, 1, 100), still.signal(50, 1, 0));
}

} // namespace
