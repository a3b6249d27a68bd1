// The simulator's model without the agent: inventory loading, value texts,
// the store's checks and configuration text, and option parsing.
#include "AccessPoint.h"
#include "EmbeddedData.h"
#include "Options.h"

#include <gtest/gtest.h>

using namespace apsim;

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";

Oid oid(const std::string &text) { return *parseOid(text); }

const std::string Header = "name\twire_oid\twritten_oid\tkind\ttable_entry_oid\tsyntax\taccess\tvalues\tfree_slot\tparts\tnotes\n";

AccessPoint factoryDevice()
{
    return AccessPoint(loadInventory(embeddedInventory, embeddedDeviceData), DeviceSettings{});
}

} // namespace

TEST(ApsimInventory, SharedOidsAndFormsBecomeOneObject)
{
    const Inventory inv = loadInventory(embeddedInventory, embeddedDeviceData);
    EXPECT_EQ(inv.tables.size(), 21u);
    AccessPoint ap(inv, DeviceSettings{});
    Device &d = ap.device();
    ASSERT_TRUE(d.object("sysDescr"));
    EXPECT_FALSE(d.object("systemDescr")); // same wire OID: served once
    // Written bare in one place and with .0 in another.
    ASSERT_EQ(d.set(oid(P + "4.2.3.0"), Value{1, {}}), NoError);
    ASSERT_EQ(d.set(oid(P + "3.3.1.1"), Value{1, {}}), NoError);
    EXPECT_EQ(d.get(oid(P + "3.3.1.1.0"))->value.number, 1);
    // Cells of a walked table written as instances are the table's cells.
    ASSERT_EQ(d.set(oid(P + "4.11.2.1.9.3"), Value{1, {}}), NoError);
    EXPECT_EQ(d.get(oid(P + "4.11.2.1.9.3"))->value.number, 1);
}

TEST(ApsimInventory, ChecksComeFromTheValueTexts)
{
    const auto inv = loadInventory(embeddedInventory, embeddedDeviceData);
    const auto find = [&](const std::string &name) {
        return *std::find_if(inv.objects.begin(), inv.objects.end(), [&](const ObjectDef &d) { return d.name == name; });
    };
    EXPECT_TRUE(find("dot11ApMode").check.accepts(4));
    EXPECT_FALSE(find("dot11ApMode").check.accepts(5));
    EXPECT_TRUE(find("sntpDstStartMonth").check.accepts(7)); // "1=Jan..12=Dec"
    EXPECT_FALSE(find("sntpDstStartMonth").check.accepts(13));
    EXPECT_TRUE(find("ipMTU").check.accepts(1500));
    EXPECT_FALSE(find("ipMTU").check.accepts(199));
    EXPECT_TRUE(find("schedulingDay").check.accepts(127));
    EXPECT_EQ(find("dot11Ssid").check.maxLength, 32u);
    EXPECT_EQ(find("dynamicDomainName").check.maxLength, 63u);
}

TEST(ApsimInventory, BadDataIsReportedWithItsLine)
{
    const std::string noSyntax = Header + "x\t1.3.6.1.4.1.1\t1.3.6.1.4.1.1\tinstance1\t\t(not stated)\tread-only\t\t\t1.1\tnote\n";
    try {
        loadInventory(noSyntax, "");
        FAIL() << "loaded an object without a syntax";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_THROW(loadInventory(noSyntax, "x\tcolour\tred\n"), std::runtime_error);
    EXPECT_THROW(loadInventory(noSyntax, "x\tsyntax\tINTEGER\nx\tdefault\tnine\n"), std::runtime_error);
}

TEST(ApsimValues, TextFormsRoundTripAndRefuseNonsense)
{
    const auto mac = valueFromText(Syntax::Mac, "00a0B1c2D3e4");
    ASSERT_TRUE(mac);
    EXPECT_EQ(valueToText(Syntax::Mac, *mac), "00A0B1C2D3E4");
    EXPECT_FALSE(valueFromText(Syntax::Mac, "00A0B1C2D3E"));
    EXPECT_FALSE(valueFromText(Syntax::Mac, "00A0B1C2D3EG"));
    EXPECT_EQ(valueToText(Syntax::IpAddress, *valueFromText(Syntax::IpAddress, "192.168.0.50")), "192.168.0.50");
    EXPECT_FALSE(valueFromText(Syntax::IpAddress, "192.168.0.256"));
    EXPECT_FALSE(valueFromText(Syntax::IpAddress, "192.168.0"));
    const Value odd{0, std::string("a=b\\c\nd\x01", 8)};
    const std::string escaped = valueToText(Syntax::Text, odd, true);
    EXPECT_EQ(escaped.find('\n'), std::string::npos);
    EXPECT_EQ(valueFromText(Syntax::Text, escaped, true), odd);
    EXPECT_FALSE(valueFromText(Syntax::Text, "bad\\q", true));
    EXPECT_FALSE(valueFromText(Syntax::Integer, "12x"));
}

TEST(ApsimDevice, EveryTriggerAndCommandActs)
{
    AccessPoint ap = factoryDevice();
    int acting = 0;
    for (const ObjectDef &def : ap.device().objects()) {
        if (def.access == Access::Trigger || def.access == Access::Command) {
            EXPECT_TRUE(ap.device().hasAction(def.name)) << def.name;
            ++acting;
        }
    }
    EXPECT_EQ(acting, 37); // 9 triggers and 28 commands (one command has two OIDs)
}

TEST(ApsimDevice, ChecksRefuseWhatTheDeviceRefuses)
{
    AccessPoint ap = factoryDevice();
    Device &d = ap.device();
    const Oid apMode = oid(P + "2.1.3.2.1.1.18.1");
    EXPECT_EQ(d.checkSet(apMode, WireType::Integer, Value{2, {}}), NoError);
    EXPECT_EQ(d.checkSet(apMode, WireType::Integer, Value{0, {}}), WrongValue);
    EXPECT_EQ(d.checkSet(apMode, WireType::OctetString, Value{}), WrongType);
    EXPECT_EQ(d.checkSet(oid("1.3.6.1.2.1.1.3.0"), WireType::TimeTicks, Value{}), NotWritable);
    EXPECT_EQ(d.checkSet(oid(P + "9.9.9"), WireType::Integer, Value{}), NoCreation);
    // Client rows exist only after the trigger.
    EXPECT_EQ(d.get(oid(P + "2.1.3.4.2.1.2.1")), std::nullopt);
    ASSERT_EQ(d.set(oid(P + "2.1.3.4.1.1.1.1"), Value{1, {}}), NoError);
    EXPECT_EQ(d.get(oid(P + "2.1.3.4.2.1.2.1"))->value.bytes.size(), 6u);
}

TEST(ApsimDevice, ConfigurationTextRoundTripsAndRejectsStrangers)
{
    AccessPoint ap = factoryDevice();
    Device &d = ap.device();
    ASSERT_EQ(d.set(oid(P + "2.1.3.2.1.1.1.1"), Value{0, "line\nbreak"}), NoError);
    ASSERT_EQ(d.set(oid(P + "2.1.3.3.3.2.1.2.1"), Value{0, std::string("\x00\x11\x22\x33\x44\x55", 6)}), NoError);
    ASSERT_EQ(d.set(oid(P + "2.1.3.3.2.1.3.2"), Value{0, "wepke"}), NoError);
    const std::string text = d.exportText(false);
    EXPECT_NE(text.find("wepke"), std::string::npos); // the backup keeps the key, not its mask

    AccessPoint other = factoryDevice();
    std::string error;
    ASSERT_TRUE(other.device().importText(text, false, error)) << error;
    EXPECT_EQ(other.device().exportText(false), text);
    EXPECT_FALSE(other.device().importText("1.3.6.1.2.1.1.3.0=5\n", false, error)); // uptime is no setting
    EXPECT_FALSE(other.device().importText(P + "5.1.1=9.9\n", false, error));    // nor the firmware
    EXPECT_TRUE(other.device().importText(P + "5.1.1=9.9\n", true, error)) << error; // but the state has it

    // The name of the file being written is no setting: a backup does not
    // hold it, and an older file that does restores without changing it.
    ASSERT_EQ(d.set(oid(P + "4.3.2.2"), Value{0, "first.dcf"}), NoError);
    EXPECT_EQ(d.exportText(false).find("first.dcf"), std::string::npos);
    ASSERT_TRUE(other.device().importText(P + "4.3.2.2=old.dcf\n", false, error)) << error;
    EXPECT_EQ(other.device().value("tftpRemoteFileName").bytes, "");
}

TEST(ApsimOptions, ParsesValuesAndRejectsBadOnes)
{
    const auto parse = [](std::vector<std::string> args, Options &o, std::string &error) {
        args.insert(args.begin(), "qrt5150-apsim");
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        return parseOptions(static_cast<int>(argv.size()), argv.data(), o, error);
    };
    Options o;
    std::string error;
    ASSERT_EQ(parse({"--listen", "127.0.0.2:1161", "--user=u:SHA:12345678:AES:abcdefgh", "--fail", "1.3.6=5",
                     "--drop", "0.25", "-v"}, o, error), ParseResult::Run) << error;
    EXPECT_EQ(o.listenHost, "127.0.0.2");
    EXPECT_EQ(o.listenPort, 1161);
    ASSERT_EQ(o.users.size(), 1u);
    EXPECT_EQ(o.users[0].priv, "AES");
    EXPECT_EQ(o.fails[0].status, 5);
    EXPECT_TRUE(o.verbose);
    for (const std::vector<std::string> &bad : std::vector<std::vector<std::string>>{
             {"--drop", "2"}, {"--fail", "1.3.x=5"}, {"--user", "u:none::DES:abcdefgh"},
             {"--user", "u:MD5:short:none:"}, {"--user", "u:MD5:pass word1:none:"}, {"--listen", "nohost"}, {"--bogus"}, {"--seed"}, {"--lan", "1.2.3/8"}}) {
        Options fresh;
        EXPECT_EQ(parse(bad, fresh, error), ParseResult::Error) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}
