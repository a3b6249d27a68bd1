#include "PerformanceRules.h"

#include <gtest/gtest.h>

namespace {

TEST(PerformanceRules, DataRateShownForTheRateRead)
{
    const QStringList legacy24 = DataRateEntries(false, false);
    ASSERT_EQ(legacy24.size(), 13);
    EXPECT_EQ(DataRateEntries(true, true).size(), 9);
    EXPECT_EQ(DataRateEntries(true, true).first(), "Best(up to 300)");
    struct Case { const char *read; const char *shown; };
    for (const Case &c : {Case{"Auto", "Best(up to 54)"}, Case{"Best(up to 300)", "Best(up to 54)"},
                          Case{"54", "54"}, Case{"5.50", "5.5"}, Case{" 11 ", "11"}, Case{"7", "Best(up to 54)"},
                          Case{"fast", "Best(up to 54)"}})
        EXPECT_EQ(legacy24.at(DataRateIndex(legacy24, c.read)), c.shown) << c.read;
}

TEST(PerformanceRules, SecurityThatRulesOut80211nOnly)
{
    struct Case { const char *auth, *encryption, *cipher; bool excluded; };
    for (const Case &c : {Case{"opensystem", "Enable", "auto", true}, Case{"sharedkey", "Enable", "aes", true},
                          Case{"opensystem", "Disable", "tkip", false}, Case{"wpa2-psk", "Disable", "tkip", true},
                          Case{"wpa-auto-eap", "Enable", "aes", false}})
        EXPECT_EQ(NOnlyExcluded(c.auth, c.encryption, c.cipher), c.excluded) << c.auth << c.cipher;
}

TEST(PerformanceRules, RangesRefuseJunk)
{
    PerformanceInput in{false, false, "100", "1", "0", "64"};
    EXPECT_FALSE(CheckPerformance(in));
    in.userLimit = "64";
    EXPECT_FALSE(CheckPerformance(in));
    in.userLimit = "6x";
    EXPECT_EQ(CheckPerformance(in)->field, "Ed_ULimit");
    in.userLimit = "0";
    in.dtim = "15 ";
    EXPECT_FALSE(CheckPerformance(in));
    in.band5 = true;
    in.ackTimeout = "50";
    EXPECT_FALSE(CheckPerformance(in));
    in.ackTimeout = "201";
    EXPECT_EQ(CheckPerformance(in)->text, "The Ack TimeOut value range is 50~200.");
    // A client's beacon and DTIM are not its own: only the ACK time-out counts.
    PerformanceInput client{true, false, "", "", "99", "100"};
    EXPECT_FALSE(CheckPerformance(client));
}

TEST(PerformanceRules, WritesByMode)
{
    const PerformanceWrites ap = PerformanceWritesFor(ApMode::AccessPoint, false);
    EXPECT_TRUE(ap.connectionLimit);
    EXPECT_FALSE(ap.userLimit);
    EXPECT_TRUE(PerformanceWritesFor(ApMode::AccessPoint, true).userLimit);
    const PerformanceWrites wds = PerformanceWritesFor(ApMode::Wds, true);
    EXPECT_FALSE(wds.connectionLimit || wds.userLimit);
    EXPECT_TRUE(wds.beaconDtim && wds.dataRate && wds.wifiMode);
    const PerformanceWrites client = PerformanceWritesFor(ApMode::WirelessClient, true);
    EXPECT_FALSE(client.beaconDtim || client.shortGi || client.dataRate || client.igmp || client.connectionLimit
                 || client.userLimit || client.wifiMode);
}

} // namespace
