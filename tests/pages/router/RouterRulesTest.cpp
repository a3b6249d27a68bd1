// The router pages' checks without their widgets.
#include "RouterRules.h"

#include <gtest/gtest.h>

using namespace Router;

namespace {

QString textOf(const Check &c) { return c ? c->text : QString(); }

TEST(RouterRules, PortsAreDecimalNumbersInTheirRange)
{
    struct Case {
        const char *text;
        int min, max;
        std::optional<int> expected;
    } cases[] = {
        {"1", 1, 65535, 1},     {"65535", 1, 65535, 65535}, {"0", 1, 65535, std::nullopt},
        {"0", 0, 65535, 0},     {"65536", 0, 65535, std::nullopt}, {"", 1, 65535, std::nullopt},
        {"-1", 0, 65535, std::nullopt}, {"+80", 1, 65535, std::nullopt}, {" 80", 1, 65535, std::nullopt},
        {"8a", 1, 65535, std::nullopt}, {"000080", 1, 65535, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PortValue(QString::fromLatin1(c.text), c.min, c.max), c.expected) << c.text;
}

TEST(RouterRules, PrivateEndKeepsTheWidthOfThePublicRange)
{
    EXPECT_EQ(PrivateEnd("8080", "8090", "80"), "90");
    EXPECT_EQ(PrivateEnd("21", "21", "2121"), "2121");
    EXPECT_EQ(PrivateEnd("8080", "", "80"), "");
}

TEST(RouterRules, SameNetworkComparesTheFirstThreeNumbers)
{
    EXPECT_TRUE(SameNetwork24("192.168.1.20", "192.168.1.1"));
    EXPECT_FALSE(SameNetwork24("192.168.2.20", "192.168.1.1"));
    EXPECT_FALSE(SameNetwork24("10.0.0.1", ""));
}

TEST(RouterRules, WebsiteNames)
{
    const QStringList listed{"example.com"};
    struct Case {
        QString url;
        const char *expected;
    } cases[] = {
        {"news.example-site_1.org", ""},
        {"", "Invalid Website URL!"},
        {"example.com/path", "Invalid Website URL!"},
        {"exa mple.com", "Invalid Website URL!"},
        {QString::fromUtf8("caf\xc3\xa9.fr"), "Invalid Website URL!"},
        {QString(41, QLatin1Char('a')), "Invalid Website URL!"},
        {QString(40, QLatin1Char('a')), ""},
        {"example.com", "Reject: The URL has already exist "},
    };
    for (const Case &c : cases)
        EXPECT_EQ(textOf(CheckUrl(c.url, listed)), QString::fromLatin1(c.expected)) << c.url.toStdString();
}

TEST(RouterRules, PortForwardingChecksInOrder)
{
    const PortForwardInput good{"web", "192.168.1.20", "192.168.1.1", "8080", "8090", "80"};
    EXPECT_FALSE(CheckPortForward(good));
    struct Case {
        PortForwardInput in;
        const char *text, *title, *field;
        bool clear;
    } cases[] = {
        {{"", "", "192.168.1.1", "", "", ""}, "The Name field can not be blank.", "Warning", "Edt_Name", false},
        {{"web", "0.0.0.0", "192.168.1.1", "1", "1", "1"}, "Invalid IP address!", "Warning", "Edt_IPAddr", false},
        {{"web", "192.168.1.255", "192.168.1.1", "1", "1", "1"}, "Invalid IP address!", "Waring", "Edt_IPAddr", true},
        {{"web", "192.168.2.20", "192.168.1.1", "1", "1", "1"},
         "The IP address and Router address should be the same network! ", "Warning", "Edt_IPAddr", false},
        {{"web", "192.168.1.20", "192.168.1.1", "", "1", "1"}, "The field can not be blank!", "Waring",
         "Edt_PubPortRangeStart", false},
        {{"web", "192.168.1.20", "192.168.1.1", "0", "1", "1"}, "Invaild port value!", "Waring",
         "Edt_PubPortRangeStart", true},
        {{"web", "192.168.1.20", "192.168.1.1", "1", "65536", "1"}, "Invaild port value!", "Waring",
         "Edt_PubPortRangeEnd", true},
        {{"web", "192.168.1.20", "192.168.1.1", "100", "90", "1"},
         "The end port should be equle and geater than the start port!", "Waring", "Edt_PubPortRangeEnd", true},
        // A private range pushed past the last port.
        {{"web", "192.168.1.20", "192.168.1.1", "1000", "2000", "65000"}, "Invaild port value!", "Waring",
         "Edt_PriPortRangeStart", true},
    };
    for (const Case &c : cases) {
        const Check refused = CheckPortForward(c.in);
        ASSERT_TRUE(refused) << c.text;
        EXPECT_EQ(refused->text, QString::fromLatin1(c.text));
        EXPECT_EQ(refused->title, QString::fromLatin1(c.title)) << c.text;
        EXPECT_EQ(refused->field, QString::fromLatin1(c.field)) << c.text;
        EXPECT_EQ(refused->clear, c.clear) << c.text;
    }
}

TEST(RouterRules, FilterMacs)
{
    const QStringList listed{"00AABBCCDDEE"};
    EXPECT_FALSE(CheckFilterMac("001122334455", listed));
    EXPECT_EQ(textOf(CheckFilterMac("00112233445", listed)), "The length is 12 in MAC Address.");
    EXPECT_EQ(CheckFilterMac("00112233445", listed)->title, "Error");
    EXPECT_EQ(textOf(CheckFilterMac("0011223344556", listed)), "The length is 12 in MAC Address.");
    EXPECT_EQ(textOf(CheckFilterMac("000000000000", listed)), "Please input a valid MAC Address.");
    EXPECT_EQ(textOf(CheckFilterMac("00112233445G", listed)), "Please input a valid MAC Address.");
    EXPECT_EQ(textOf(CheckFilterMac("00aabbccddee", listed)), "Reject: The MAC already exists ");
}

TEST(RouterRules, FirewallRuleChecksInOrder)
{
    const FirewallInput good{"LAN", "192.168.1.10", "192.168.1.20", "WAN", "10.0.0.1", "10.0.0.9", "TCP", "80", "88"};
    EXPECT_FALSE(CheckFirewallRule(good));
    const auto with = [&good](auto change) {
        FirewallInput in = good;
        change(in);
        return textOf(CheckFirewallRule(in));
    };
    EXPECT_EQ(with([](auto &in) { in.sourceStart = "1.2.3"; }), "Please input valid Source Start IP address");
    EXPECT_EQ(with([](auto &in) { in.sourceEnd = ""; }), "Please input valid Source End IP address");
    // Compared as 32-bit numbers, not as texts.
    EXPECT_EQ(with([](auto &in) { in.sourceEnd = "192.168.1.9"; }), "Invalid Soure IP address range!");
    EXPECT_EQ(with([](auto &in) { in.sourceEnd = "192.168.10.1"; }), "");
    // The interfaces are told of before any destination address is looked at.
    EXPECT_EQ(with([](auto &in) {
                  in.destInterface = "LAN";
                  in.destStart = "junk";
              }),
              "The Source Interface and Destination Interface can not be same!");
    EXPECT_EQ(with([](auto &in) { in.destStart = "0.0.0.0"; }), "Please input valid Destination Start IP address");
    EXPECT_EQ(with([](auto &in) { in.destEnd = "10.0.0.300"; }), "Please input valid Destination End IP address");
    EXPECT_EQ(with([](auto &in) { in.destEnd = "9.255.255.254"; }), "Invalid Destination IP address range!");
    EXPECT_EQ(with([](auto &in) { in.portStart = "65536"; }), "Invaild Port");
    EXPECT_EQ(with([](auto &in) { in.portEnd = ""; }), "Invaild Port");
    EXPECT_EQ(with([](auto &in) { in.portEnd = "79"; }), "Invaild Port");
    EXPECT_EQ(with([](auto &in) { in.portStart = "0"; }), "");
    // Ports are not looked at for protocols without them.
    EXPECT_EQ(with([](auto &in) {
                  in.protocol = "ICMP";
                  in.portStart = "";
              }),
              "");
}

TEST(RouterRules, DmzAddressOnlyWhileEnabled)
{
    EXPECT_FALSE(CheckDmz(false, ""));
    EXPECT_FALSE(CheckDmz(true, "192.168.1.30"));
    EXPECT_EQ(CheckDmz(true, "")->title, "Warning");
    const Check bad = CheckDmz(true, "192.168.1.0");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->text, "Please input valid IP address");
    EXPECT_EQ(bad->title, "Waring");
    EXPECT_TRUE(bad->clear);
}

TEST(RouterRules, TheLimitHoldsOutsideEditModeOnly)
{
    EXPECT_TRUE(RoomForRule(24, kMaxRules, false));
    EXPECT_FALSE(RoomForRule(25, kMaxRules, false));
    EXPECT_TRUE(RoomForRule(25, kMaxRules, true));
}

} // namespace
