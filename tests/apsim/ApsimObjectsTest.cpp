// The simulator serves every inventory object at its wire OID with its type,
// takes writes of read-write objects and refuses the writes a device refuses.
#include "ApsimProcess.h"
#include "InventoryFile.h"
#include "SnmpTestClient.h"

#include <gtest/gtest.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <regex>

using namespace qrt::test;

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string SysName = "1.3.6.1.2.1.1.5.0";
const std::string ApMode = P + "2.1.3.2.1.1.18.1";

class ApsimObjects : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        apsim = new ApsimProcess;
        std::string error;
        ASSERT_TRUE(apsim->start({"--reboot-seconds", "0"}, &error)) << error;
        rows = new std::vector<InventoryRow>(readInventory());
        auto writer = SnmpTestClient::community(apsim->address(), "granite");
        for (const InventoryRow &row : *rows)
            if (row.access == "write-trigger") {
                ASSERT_EQ(writer.setInt(row.wire, 1).status, 0) << row.name;
            }
    }
    static void TearDownTestSuite()
    {
        delete apsim;
        delete rows;
    }
    SnmpTestClient reader() { return SnmpTestClient::community(apsim->address(), "hollow"); }
    SnmpTestClient writer(long version = 1) { return SnmpTestClient::community(apsim->address(), "granite", version); }

    static ApsimProcess *apsim;
    static std::vector<InventoryRow> *rows;
};

ApsimProcess *ApsimObjects::apsim = nullptr;
std::vector<InventoryRow> *ApsimObjects::rows = nullptr;

bool isKey(const InventoryRow &row) { return row.notes.find("KEY column") != std::string::npos; }

// A value the object accepts, chosen from its value text: the top of a
// stated range, else the last listed enumeration value.
long acceptedNumber(const std::string &values)
{
    static const std::regex range(R"((\d+)\.\.(\d+))"), item(R"((\d+)=)");
    long best = -1;
    for (auto it = std::sregex_iterator(values.begin(), values.end(), range); it != std::sregex_iterator(); ++it)
        best = std::max(best, std::stol((*it)[2]));
    if (best >= 0)
        return best;
    for (auto it = std::sregex_iterator(values.begin(), values.end(), item); it != std::sregex_iterator(); ++it)
        best = std::stol((*it)[1]);
    return best >= 0 ? best : 1;
}

} // namespace

TEST_F(ApsimObjects, EveryInventoryRowAnswersAtItsWireOidWithItsType)
{
    auto client = reader();
    int checked = 0;
    for (const InventoryRow &row : *rows) {
        const bool column = row.kind == "column3";
        const SnmpAnswer a = column ? client.getNext(row.wire) : client.get(row.wire);
        ASSERT_TRUE(a.ok()) << row.name << " " << row.wire;
        if (column) {
            EXPECT_EQ(a.oid.rfind(row.wire + ".", 0), 0u) << row.name << " walked to " << a.oid;
        } else {
            EXPECT_EQ(a.oid, row.wire);
        }
        EXPECT_EQ(a.type, asnTypeOf(row.syntax)) << row.name << " " << row.wire;
        if (row.syntax == "MAC") {
            EXPECT_EQ(a.bytes.size(), 6u) << row.name;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 402);
}

TEST_F(ApsimObjects, AmbiguousOidsServeOneValueUnderBothForms)
{
    auto client = reader();
    auto w = writer();
    // Written once without an instance arc and once with ".0": one value.
    ASSERT_EQ(w.setInt(P + "3.3.5.1.1", 1).status, 0);
    EXPECT_EQ(client.get(P + "3.3.5.1.1.0").number, 1);
    ASSERT_EQ(w.setInt(P + "3.3.5.1.1.0", 0).status, 0);
    EXPECT_EQ(client.get(P + "3.3.5.1.1").number, 0);
    // The dynamic pool start is sent both bare and as instance 1.
    ASSERT_EQ(w.setIp(P + "3.3.1.2.2.1.2.1", "10.9.8.7").status, 0);
    EXPECT_EQ(client.get(P + "3.3.1.2.2.1.2").bytes, std::string("\x0a\x09\x08\x07", 4));
    // The sibling root's radio state is the radio switch, read-only there.
    ASSERT_EQ(w.setInt(P + "2.1.3.2.1.1.15.1", 0).status, 0);
    EXPECT_EQ(client.get("1.3.6.1.4.1.48213.10.37.36.2.1.3.3.1.1.1.23.1").number, 0);
    EXPECT_EQ(w.setInt("1.3.6.1.4.1.48213.10.37.36.2.1.3.3.1.1.1.23.1", 1).status, SNMP_ERR_NOTWRITABLE);
}

TEST_F(ApsimObjects, ReadWriteObjectsAcceptASetAndReadItBack)
{
    auto client = writer();
    int written = 0;
    for (const InventoryRow &row : *rows) {
        if (row.access != "read-write" || isKey(row))
            continue;
        const std::string oid = row.kind == "column3" ? row.wire + ".1" : row.wire;
        SnmpAnswer set;
        std::string expected;
        if (row.syntax == "INTEGER") {
            const long n = acceptedNumber(row.values);
            set = client.setInt(oid, n);
            EXPECT_EQ(client.get(oid).number, n) << row.name;
        } else if (row.syntax == "IpAddress") {
            set = client.setIp(oid, "10.1.2.3");
            expected = std::string("\x0a\x01\x02\x03", 4);
        } else if (row.syntax == "MAC") {
            set = client.setBytes(oid, macBytes("0011223344AA"));
            expected = macBytes("0011223344AA");
        } else if (row.name == "setTimeManually") {
            set = client.setBytes(oid, "03/15/2008 14:05:09");
            expected = "03/15/2008 14:05:09";
        } else {
            set = client.setBytes(oid, "text1");
            expected = row.name.find("WepKey") != std::string::npos ? "*****" : "text1";
        }
        ASSERT_EQ(set.status, 0) << row.name << " " << oid;
        if (row.syntax != "INTEGER") {
            EXPECT_EQ(client.get(oid).bytes, expected) << row.name;
        }
        ++written;
    }
    EXPECT_GT(written, 230);
}

TEST_F(ApsimObjects, ReadOnlyObjectsRefuseSets)
{
    auto v2 = writer();
    for (const InventoryRow &row : *rows) {
        if (row.access != "read-only")
            continue;
        const std::string oid = row.kind == "column3" ? row.wire + ".1" : row.wire;
        const SnmpAnswer a = v2.get(oid);
        ASSERT_TRUE(a.ok()) << row.name;
        const std::string raw = a.type == ASN_INTEGER || a.type == ASN_TIMETICKS
                                    ? std::string(reinterpret_cast<const char *>(&a.number), sizeof a.number)
                                    : a.bytes;
        const SnmpAnswer refused = a.type == ASN_OBJECT_ID ? v2.setTyped(oid, ASN_OBJECT_ID, std::string(sizeof(oid) * 2, '\0'))
                                                          : v2.setTyped(oid, static_cast<unsigned char>(a.type), raw);
        EXPECT_EQ(refused.status, SNMP_ERR_NOTWRITABLE) << row.name << " " << oid;
    }
    EXPECT_EQ(writer(0).setBytes("1.3.6.1.2.1.1.1.0", "x").status, SNMP_ERR_NOSUCHNAME); // SNMPv1's form
}

TEST_F(ApsimObjects, BadValuesAreRefusedWithTheirStatus)
{
    auto v2 = writer();
    ASSERT_EQ(v2.setInt(ApMode, 2).status, 0);
    EXPECT_EQ(v2.setInt(ApMode, 9).status, SNMP_ERR_WRONGVALUE);
    EXPECT_EQ(v2.setInt(P + "2.1.3.2.1.1.10.1", 501).status, SNMP_ERR_WRONGVALUE); // beacon 25..500
    EXPECT_EQ(v2.setInt(P + "4.8.2", 76).status, SNMP_ERR_WRONGVALUE);            // time zone 1..75
    EXPECT_EQ(v2.setBytes(ApMode, "1").status, SNMP_ERR_WRONGTYPE);
    EXPECT_EQ(v2.setBytes(P + "2.1.3.2.1.1.1.1", std::string(33, 's')).status, SNMP_ERR_WRONGLENGTH); // SSID
    EXPECT_EQ(v2.setBytes(P + "2.1.3.3.3.2.1.2.1", "12345").status, SNMP_ERR_WRONGLENGTH);           // MAC of 5 bytes
    EXPECT_EQ(writer(0).setInt(ApMode, 9).status, SNMP_ERR_BADVALUE);
    EXPECT_EQ(v2.get(ApMode).number, 2); // refused writes change nothing
}

TEST_F(ApsimObjects, SystemGroupTakesTextsUpTo255Characters)
{
    auto v2 = writer();
    ASSERT_EQ(v2.setBytes(SysName, std::string(255, 'n')).status, 0);
    EXPECT_EQ(v2.get(SysName).bytes, std::string(255, 'n'));
    EXPECT_EQ(v2.setBytes(SysName, std::string(256, 'n')).status, SNMP_ERR_WRONGLENGTH);
    EXPECT_EQ(v2.setBytes("1.3.6.1.2.1.1.6.0", std::string(256, 'l')).status, SNMP_ERR_WRONGLENGTH);
    auto r = reader();
    EXPECT_NE(r.get("1.3.6.1.2.1.1.1.0").bytes.find("QRT-5150"), std::string::npos);
    EXPECT_EQ(r.get("1.3.6.1.2.1.1.2.0").type, ASN_OBJECT_ID);
}

TEST_F(ApsimObjects, ReadCommunityCannotSet)
{
    auto r = reader();
    const std::string before = r.get(SysName).bytes;
    EXPECT_NE(r.setBytes(SysName, "intruder").status, 0);
    EXPECT_EQ(r.get(SysName).bytes, before);
    auto wrong = SnmpTestClient::community(apsim->address(), "nobody");
    wrong.setTimeoutMs(300);
    EXPECT_EQ(wrong.get(SysName).status, -1); // an unknown community gets no answer
}
