#include "NetworkRules.h"

#include <gtest/gtest.h>

namespace {

TEST(NetworkRules, AddressesWithLeadingZerosAreRefused)
{
    EXPECT_TRUE(IsCleanAddress("192.168.0.1"));
    EXPECT_TRUE(IsCleanAddress("10.0.0.1"));
    EXPECT_FALSE(IsCleanAddress("192.168.000.1"));
    EXPECT_FALSE(IsCleanAddress("010.0.0.1"));
    EXPECT_TRUE(IsCleanMask("255.255.0.0"));
    EXPECT_FALSE(IsCleanMask("255.255.00.0"));
    EXPECT_FALSE(IsCleanMask("255.0.255.0"));
}

TEST(NetworkRules, LanChecksInTheOrderTheUserMeetsThem)
{
    struct Case {
        LanInput in;
        const char *field; // nullptr: accepted
        const char *title;
    };
    const Case cases[] = {
        {{"192.168.1.2", "255.255.255.0", "", false, "", ""}, nullptr, nullptr},
        {{"192.168.1.2", "255.255.255.0", "192.168.1.1", false, "", ""}, nullptr, nullptr},
        {{"", "255.255.255.0", "", false, "", ""}, "ED_IpAddr", "Warning"},
        {{"192.168.1.2", "", "", false, "", ""}, "ED_SubMask", "Warning"},
        {{"192.168.1.2", "255.255.255.1", "", false, "", ""}, "ED_SubMask", "Warning"},
        {{"192.168.1.2", "255.255.255.0", "0.0.0.0", false, "", ""}, "ED_DefGw", "Waring"},
        {{"192.168.1.2", "255.255.255.0", "1.2.3", false, "", ""}, "ED_DefGw", "Waring"},
        // Router mode: the LAN may not share the WAN's network.
        {{"192.168.1.2", "255.255.255.0", "", true, "192.168.1.77", "255.255.255.0"}, "ED_IpAddr", "Warning"},
        {{"192.168.1.2", "255.255.255.0", "", true, "192.168.2.77", "255.255.255.0"}, nullptr, nullptr},
        {{"192.168.1.2", "255.255.255.0", "", false, "192.168.1.77", "255.255.255.0"}, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.in.address.toStdString() + " " + c.in.mask.toStdString() + " " + c.in.gateway.toStdString());
        const FieldCheck check = CheckLanInput(c.in);
        ASSERT_EQ(check.has_value(), c.field != nullptr);
        if (check) {
            EXPECT_EQ(check->field, c.field);
            EXPECT_EQ(check->title, c.title);
        }
    }
    EXPECT_EQ(CheckLanInput({"192.168.1.2", "255.255.255.0", "", true, "192.168.1.7", "255.255.255.0"})->text,
              "The LAN IP address and WAN IP address should  not be the same network! ");
}

TEST(NetworkRules, RouterModeIsTheFifthComboPosition)
{
    EXPECT_FALSE(IsRouterMode(-1));
    EXPECT_FALSE(IsRouterMode(3)); // "Wireless Client"
    EXPECT_TRUE(IsRouterMode(4));
}

TEST(NetworkRules, PoolCountConvertsBothWays)
{
    EXPECT_EQ(PoolCountFromEnd("192.168.0.100", "192.168.0.199"), "100");
    EXPECT_EQ(PoolCountFromEnd("192.168.0.200", "192.168.0.254"), "55");
    EXPECT_EQ(PoolCountFromEnd("192.168.0.5", "192.168.0.5"), "1");
    EXPECT_EQ(PoolCountFromEnd("192.168.0.100", "192.168.0.99"), "");
    EXPECT_EQ(PoolCountFromEnd("192.168.0.100", "192.168.1.120"), "");
    EXPECT_EQ(PoolCountFromEnd("0.0.0.0", "garbage"), "");
    EXPECT_EQ(PoolEndFromCount("192.168.0.200", 55), "192.168.0.254");
    EXPECT_EQ(PoolEndFromCount("192.168.0.1", 1), "192.168.0.1");
    EXPECT_EQ(PoolEndFromCount("192.168.0.200", 57), "");
    for (int count : {1, 7, 100, 154})
        EXPECT_EQ(PoolCountFromEnd("10.0.0.100", PoolEndFromCount("10.0.0.100", count)), QString::number(count));
}

TEST(NetworkRules, PoolChecks)
{
    const PoolInput good{"192.168.0.200", "55", "86400", "255.255.255.0", "192.168.0.1"};
    EXPECT_FALSE(CheckPoolInput(good));
    struct Case {
        PoolInput in;
        const char *text;
        const char *title;
        bool clear;
    };
    const auto with = [&](auto change) { PoolInput in = good; change(in); return in; };
    const Case cases[] = {
        {with([](PoolInput &i) { i.count = "56"; }), "Invaild IP range!", "Error", true},
        {with([](PoolInput &i) { i.count = ""; }), "Please input a number between 1 and 254.", "Warning", false},
        {with([](PoolInput &i) { i.count = "0"; }), "Please input a number between 1 and 254.", "Error", true},
        {with([](PoolInput &i) { i.count = "255"; }), "Please input a number between 1 and 254.", "Error", true},
        {with([](PoolInput &i) { i.lease = ""; }), "Please input a number between 60 and 31536000.", "Warning", false},
        {with([](PoolInput &i) { i.lease = "59"; }), "Please input a number between 60 and 31536000.", "Error", true},
        {with([](PoolInput &i) { i.lease = "31536001"; }), "Please input a number between 60 and 31536000.", "Error", true},
        {with([](PoolInput &i) { i.lease = "86400s"; }), "Please input a number between 60 and 31536000.", "Error", true},
        {with([](PoolInput &i) { i.lease = " 600"; }), "Please input a number between 60 and 31536000.", "Error", true},
        {with([](PoolInput &i) { i.start = ""; }), "Please input valid IP address", "Warning", false},
        {with([](PoolInput &i) { i.start = "192.168.0.0200"; }), "Please input valid IP address", "Waring", true},
        {with([](PoolInput &i) { i.mask = "0.0.0.0"; }), "Please input valid SubMask.", "Waring", true},
        {with([](PoolInput &i) { i.gateway = ""; }), "Please input valid Gateway.", "Waring", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const FieldCheck check = CheckPoolInput(c.in);
        ASSERT_TRUE(check);
        EXPECT_EQ(check->text, c.text);
        EXPECT_EQ(check->title, c.title);
        EXPECT_EQ(check->clear, c.clear);
    }
    EXPECT_FALSE(CheckPoolInput(with([](PoolInput &i) { i.lease = "60"; })));
    EXPECT_FALSE(CheckPoolInput(with([](PoolInput &i) { i.lease = "31536000"; })));
}

TEST(NetworkRules, OptionalAddressesFallBackToZeros)
{
    EXPECT_EQ(OptionalAddressToSend(""), "0.0.0.0");
    EXPECT_EQ(OptionalAddressToSend("8.8.8.8"), "8.8.8.8");
    EXPECT_EQ(OptionalAddressToSend("8.8.8"), "0.0.0.0");
    EXPECT_FALSE(IsOptionalAddressOk("300.1.1.1"));
    EXPECT_TRUE(IsOptionalAddressOk("0.0.0.0"));
}

TEST(NetworkRules, LeaseChecks)
{
    const LeaseInput good{"192.168.0.20", "00112233AaBb", "255.255.255.0", "printer", "192.168.0.50"};
    EXPECT_FALSE(CheckLeaseInput(good));
    struct Case {
        LeaseInput in;
        const char *field;
        const char *text;
    };
    const auto with = [&](auto change) { LeaseInput in = good; change(in); return in; };
    const Case cases[] = {
        {with([](LeaseInput &i) { i.address = ""; }), "ED_StaticAssignIP", "Please input valid IP address"},
        {with([](LeaseInput &i) { i.address = "0.0.0.0"; }), "ED_StaticAssignIP", "Please input valid IP address"},
        {with([](LeaseInput &i) { i.address = "192.168.0.50"; }), "ED_StaticAssignIP", "Please input valid IP address."},
        {with([](LeaseInput &i) { i.mac = "000000000000"; }), "ED_StaticAssignMAC", "Please input valid MAC address."},
        {with([](LeaseInput &i) { i.mac = "0011223344"; }), "ED_StaticAssignMAC", "Please input valid MAC address."},
        {with([](LeaseInput &i) { i.mac = "00112233445G"; }), "ED_StaticAssignMAC", "Please input valid MAC address."},
        {with([](LeaseInput &i) { i.mask = "0.0.0.0"; }), "ED_StaticSubMask", "Please input valid SubMask."},
        {with([](LeaseInput &i) { i.hostName = ""; }), "ED_StaticHostName", "Invalid Computer Name!"},
        {with([](LeaseInput &i) { i.hostName = QString(64, 'h'); }), "ED_StaticHostName", "Invalid Computer Name!"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        const FieldCheck check = CheckLeaseInput(c.in);
        ASSERT_TRUE(check);
        EXPECT_EQ(check->field, c.field);
        EXPECT_EQ(check->text, c.text);
    }
    EXPECT_FALSE(CheckLeaseInput(with([](LeaseInput &i) { i.hostName = QString(63, 'h'); })));
}

TEST(NetworkRules, DuplicateMacLeavesOutTheLeaseBeingEdited)
{
    const QStringList macs{"000000000000", "001122334455", "00AABBCCDDEE"};
    EXPECT_EQ(DuplicateLeaseRow(macs, "001122334455", -1), 1);
    EXPECT_EQ(DuplicateLeaseRow(macs, "00aabbccddee", -1), 2);
    EXPECT_EQ(DuplicateLeaseRow(macs, "001122334455", 1), -1);
    EXPECT_EQ(DuplicateLeaseRow(macs, "001122334455", 2), 1);
    EXPECT_EQ(DuplicateLeaseRow(macs, "0011223344FF", -1), -1);
}

TEST(NetworkRules, VlanPortCellsListOnlyVisibleMembers)
{
    std::array<Membership, VlanPortCount> ports{};
    EXPECT_EQ(PortCellsOf(ports).untagged, "");
    EXPECT_EQ(PortCellsOf(ports).tagged, "");
    ports[0] = Membership::Untag;
    ports[1] = Membership::Untag;
    ports[3] = Membership::Tag;
    ports[7] = Membership::Untag; // S-5 is not shown
    ports[13] = Membership::Tag;
    EXPECT_EQ(PortCellsOf(ports).untagged, "Mgmt,LAN");
    EXPECT_EQ(PortCellsOf(ports).tagged, "S-1,W-4");
    EXPECT_EQ(MembershipOf("untag"), Membership::Untag);
    EXPECT_EQ(MembershipOf("tag"), Membership::Tag);
    EXPECT_EQ(MembershipOf("(NULL)"), Membership::None);
    EXPECT_TRUE(IsMssidPort(2));
    EXPECT_TRUE(IsMssidPort(9));
    EXPECT_FALSE(IsMssidPort(1));
    EXPECT_FALSE(IsMssidPort(10));
}

TEST(NetworkRules, VidAndPvidRange)
{
    for (const char *good : {"1", "100", "4094"})
        EXPECT_TRUE(IsValidVid(good)) << good;
    for (const char *bad : {"", "0", "4095", "-1", "12a", " 5", "99999999999"})
        EXPECT_FALSE(IsValidVid(bad)) << bad;
    EXPECT_EQ(FirstBadPvid({"1", "2", "4094"}), -1);
    EXPECT_EQ(FirstBadPvid({"1", "4095", "0"}), 1);
}

TEST(NetworkRules, ListedVidsAndFreeRows)
{
    const QStringList vids{"10", "0", "20", "0"};
    const QStringList names{"ten", "", "twenty", ""};
    EXPECT_EQ(ListedVidRow(vids, "20", -1), 2);
    EXPECT_EQ(ListedVidRow(vids, "20", 2), -1);
    EXPECT_EQ(ListedVidRow(vids, "0", -1), -1);
    EXPECT_EQ(ListedVidRow(vids, "30", -1), -1);
    EXPECT_EQ(FreeVlanRow(vids, names), 1);
    EXPECT_EQ(FreeVlanRow({"10", "20"}, {"a", "b"}), -1);
    EXPECT_EQ(FreeVlanRow({"0", "0"}, {"left over", ""}), 1);
}

} // namespace
