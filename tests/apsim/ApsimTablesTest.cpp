// Triggers fill tables with simulated rows; add and delete objects fill and
// free rows of the fixed-size tables; secrets read back as the device shows them.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"

#include <gtest/gtest.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <thread>

using namespace qrt::test;

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string ClientRefresh = P + "2.1.3.4.1.1.1.1";
const std::string ClientMac = P + "2.1.3.4.2.1.2";
const std::string AclAdd = P + "2.1.3.3.3.2.1.2.1", AclDelete = P + "2.1.3.3.3.2.1.3.1";
const std::string AclMac = P + "2.1.3.3.3.3.1.2";
const std::string Free(6, '\0');

class ApsimTables : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(apsim.start({"--stations", "7", "--seed", "42", "--reboot-seconds", "0", "-v"}, &error)) << error;
    }
    SnmpTestClient client() { return SnmpTestClient::community(apsim.address(), "granite"); }

    // The values of one column, walked as a page walks it.
    static std::vector<std::string> walk(SnmpTestClient &c, const std::string &column)
    {
        std::vector<std::string> values;
        for (SnmpAnswer a = c.getNext(column); a.ok() && a.oid.rfind(column + ".", 0) == 0; a = c.getNext(a.oid))
            values.push_back(a.type == ASN_INTEGER ? std::to_string(a.number) : a.bytes);
        return values;
    }
    ApsimProcess apsim;
};

} // namespace

TEST_F(ApsimTables, TriggersFillTheirTablesWithStationsAndFreeRows)
{
    auto c = client();
    EXPECT_TRUE(walk(c, ClientMac).empty()); // nothing collected yet
    ASSERT_EQ(c.setInt(ClientRefresh, 1).status, 0);
    const auto macs = walk(c, ClientMac);
    ASSERT_EQ(macs.size(), 10u); // seven stations, three free rows
    for (size_t i = 0; i < macs.size(); ++i)
        EXPECT_EQ(macs[i] == Free, i >= 7) << "row " << i + 1;
    EXPECT_EQ(walk(c, P + "2.1.3.4.2.1.1").front(), "1"); // the index column numbers the rows

    const std::pair<std::string, std::string> surveys[] = {
        {P + "2.1.3.2.3.1.1.1.1", P + "2.1.3.2.3.2.1.5"}, {P + "2.1.3.2.4.1.1.1.1", P + "2.1.3.2.4.2.1.4"},
        {P + "2.1.3.1.1.1.4.1", P + "2.1.3.1.2.1.2"},     {P + "2.1.3.5.1.1.1.1", P + "2.1.3.5.2.1.2"},
        {P + "3.3.4.1.1.0", P + "3.3.4.1.8.1.3"},         {P + "3.3.1.4.1", P + "3.3.1.4.2.1.2"},
        {P + "3.3.1.4.3", P + "3.3.1.4.4.1.2"}};
    for (const auto &[trigger, column] : surveys) {
        ASSERT_EQ(c.setInt(trigger, 1).status, 0) << trigger;
        EXPECT_EQ(walk(c, column).size(), 10u) << column;
    }
    ASSERT_EQ(c.setInt(P + "3.3.5.3.1", 1).status, 0);
    EXPECT_EQ(walk(c, P + "3.3.5.3.2.1.3").size(), 10u); // one row per port
}

TEST_F(ApsimTables, SurveysFollowTheSeed)
{
    auto c = client();
    ASSERT_EQ(c.setInt(ClientRefresh, 1).status, 0);
    const auto first = walk(c, ClientMac);
    ApsimProcess same, other;
    ASSERT_TRUE(same.start({"--stations", "7", "--seed", "42"}));
    ASSERT_TRUE(other.start({"--stations", "7", "--seed", "43"}));
    auto s = SnmpTestClient::community(same.address(), "granite");
    auto o = SnmpTestClient::community(other.address(), "granite");
    ASSERT_EQ(s.setInt(ClientRefresh, 1).status, 0);
    ASSERT_EQ(o.setInt(ClientRefresh, 1).status, 0);
    EXPECT_EQ(walk(s, ClientMac), first);
    EXPECT_NE(walk(o, ClientMac), first);
}

TEST_F(ApsimTables, MacAccessListAddFillsTheFirstFreeRowAndDeleteFreesIt)
{
    auto c = client();
    const std::string a = macBytes("001122334401"), b = macBytes("001122334402");
    ASSERT_EQ(c.setBytes(AclAdd, a).status, 0);
    ASSERT_EQ(c.setBytes(AclAdd, b).status, 0);
    ASSERT_EQ(c.setBytes(AclAdd, a).status, 0); // already listed: not added twice
    auto rows = walk(c, AclMac);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], a);
    EXPECT_EQ(rows[1], b);
    EXPECT_EQ(rows[2], Free);
    EXPECT_EQ(c.setBytes(AclAdd, Free).status, SNMP_ERR_WRONGVALUE);

    ASSERT_EQ(c.setBytes(AclDelete, a).status, 0);
    rows = walk(c, AclMac);
    EXPECT_EQ(rows[0], Free);
    EXPECT_EQ(rows[1], b);
    ASSERT_EQ(c.setBytes(AclAdd, macBytes("001122334403")).status, 0);
    EXPECT_EQ(walk(c, AclMac)[0], macBytes("001122334403")); // the freed row is reused
}

TEST_F(ApsimTables, FullTableRefusesAnAdd)
{
    auto c = client();
    const std::string add = P + "3.2.2.1.1.2.1"; // router MAC filter, 25 rows
    for (int i = 1; i <= 25; ++i) {
        char hex[13];
        std::snprintf(hex, sizeof hex, "0000000000%02X", i);
        ASSERT_EQ(c.setBytes(add, macBytes(hex)).status, 0) << i;
    }
    EXPECT_EQ(c.setBytes(add, macBytes("0000000000FF")).status, SNMP_ERR_RESOURCEUNAVAILABLE);
}

TEST_F(ApsimTables, WdsPeersAddAndDeleteAll)
{
    auto c = client();
    const std::string list = P + "2.1.3.2.2.1.1.2";
    ASSERT_EQ(c.setBytes(P + "2.1.3.2.2.2.1.1.1", macBytes("00AABBCCDD01")).status, 0);
    ASSERT_EQ(c.setBytes(P + "2.1.3.2.2.2.1.1.1", macBytes("00AABBCCDD02")).status, 0);
    auto peers = walk(c, list);
    ASSERT_EQ(peers.size(), 8u);
    EXPECT_EQ(peers[1], macBytes("00AABBCCDD02"));
    ASSERT_EQ(c.setInt(P + "2.1.3.2.2.2.1.3.1", 1).status, 0);
    for (const std::string &peer : walk(c, list))
        EXPECT_EQ(peer, Free);
}

TEST_F(ApsimTables, IndexDeletesFreeRulesAndRanges)
{
    auto c = client();
    const std::string qosName = P + "3.3.6.2.5.1.3";
    ASSERT_EQ(c.setBytes(qosName + ".2", "video").status, 0);
    ASSERT_EQ(c.setInt(P + "3.3.6.2.4.0", 2).status, 0);
    EXPECT_EQ(c.get(qosName + ".2").bytes, "");
    EXPECT_EQ(c.setInt(P + "3.3.6.2.4.0", 65).status, SNMP_ERR_WRONGVALUE);

    const std::string start = P + "4.10.1.4.1.2.3", end = P + "4.10.1.4.1.3.3";
    ASSERT_EQ(c.setIp(start, "10.0.0.1").status, 0);
    ASSERT_EQ(c.setIp(end, "10.0.0.9").status, 0);
    ASSERT_EQ(c.setInt(P + "4.10.1.3", 3).status, 0);
    EXPECT_EQ(c.get(start).bytes, std::string(4, '\0'));
    EXPECT_EQ(c.get(end).bytes, std::string(4, '\0'));

    ASSERT_EQ(c.setBytes(P + "3.2.1.1.1.2.1", "example.com").status, 0);
    EXPECT_EQ(walk(c, P + "3.2.1.2.1.2").front(), "example.com");
    ASSERT_EQ(c.setInt(P + "3.2.1.1.1.3.1", 1).status, 0);
    EXPECT_EQ(walk(c, P + "3.2.1.2.1.2").front(), "");

    ASSERT_EQ(c.setInt(P + "3.3.5.1.3.1.2.4", 100).status, 0);
    ASSERT_EQ(c.setInt(P + "3.3.5.1.3.1.22.4", 1).status, 0); // the VLAN row's own delete
    EXPECT_EQ(c.get(P + "3.3.5.1.3.1.2.4").number, 0);
}

TEST_F(ApsimTables, KeysReadBackMaskedAndSecretsAsStored)
{
    auto c = client();
    const std::string key1 = P + "2.1.3.3.2.1.3.1";
    ASSERT_EQ(c.setBytes(key1, "abcdefghijklm").status, 0);
    EXPECT_EQ(c.get(key1).bytes, std::string(13, '*'));
    ASSERT_EQ(c.setBytes(key1, std::string(13, '*')).status, 0); // written back as read
    ASSERT_EQ(c.setBytes(key1, "abcde").status, 0);
    EXPECT_EQ(c.get(key1).bytes, "*****");
    const std::string passPhrase = P + "2.1.3.3.1.1.4.1", radiusSecret = P + "2.1.3.3.1.1.9.1";
    ASSERT_EQ(c.setBytes(passPhrase, "correct horse").status, 0);
    ASSERT_EQ(c.setBytes(radiusSecret, "s3cret").status, 0);
    EXPECT_EQ(c.get(passPhrase).bytes, "correct horse");
    EXPECT_EQ(c.get(radiusSecret).bytes, "s3cret");
    const std::string log = apsim.log();
    EXPECT_NE(log.find("set " + radiusSecret + " -> 0"), std::string::npos) << log; // requests are logged,
    EXPECT_EQ(log.find("s3cret"), std::string::npos);                                 // their values are not
    EXPECT_EQ(log.find("granite"), std::string::npos);
}

TEST_F(ApsimTables, RogueEntriesAreClassified)
{
    auto c = client();
    ASSERT_EQ(c.setInt(P + "3.3.4.1.1.0", 1).status, 0);
    ASSERT_EQ(c.setInt(P + "3.3.4.1.4.0", 2).status, 0); // row 2 is a rogue
    EXPECT_EQ(c.get(P + "3.3.4.1.8.1.7.2").number, 4);
    ASSERT_EQ(c.setInt(P + "3.3.4.1.2.0", 2).status, 0); // and then valid
    EXPECT_EQ(c.get(P + "3.3.4.1.8.1.7.2").number, 2);
    EXPECT_EQ(c.setInt(P + "3.3.4.1.2.0", 9).status, SNMP_ERR_WRONGVALUE); // a free row
}

TEST_F(ApsimTables, CountersGrowAndClear)
{
    auto c = client();
    const std::string received = P + "5.2.2.1.1.1.9.1", wiredSent = P + "5.2.1.1.1.1.1.1";
    const long first = c.get(received).number;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long later = c.get(received).number;
    EXPECT_GT(later, first);
    ASSERT_EQ(c.setInt(P + "5.2.2.1.1.1.16.1", 1).status, 0);
    EXPECT_LT(c.get(received).number, later);
    EXPECT_GT(c.get(wiredSent).number, 0); // the wired counters have their own clear
}
