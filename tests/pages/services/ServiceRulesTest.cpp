#include "ServiceRules.h"

#include <gtest/gtest.h>

namespace {

QosRuleInput rule(const QString &from1, const QString &to1)
{
    QosRuleInput in;
    in.name = QStringLiteral("voip");
    in.protocol = QStringLiteral("Any");
    in.ipFrom1 = from1;
    in.ipTo1 = to1;
    return in;
}

TEST(QosRules, HostRangeCountsTheAddressesAcrossOctets)
{
    const struct {
        const char *from, *to;
        qint32 count;
    } cases[] = {
        {"192.168.0.10", "192.168.0.20", 11},
        {"10.0.0.200", "10.0.1.5", 62},
        {"10.0.0.1", "10.0.0.1", 1},
        {"10.0.0.9", "10.0.0.1", 0},
        {"0.0.0.0", "255.255.255.255", 2147483647},
        {"10.0.0", "10.0.0.1", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AddressCount(QString::fromLatin1(c.from), QString::fromLatin1(c.to)), c.count) << c.from;
}

TEST(QosRules, ProtocolChoicesGiveTheirNumbersAndPorts)
{
    EXPECT_EQ(QosProtocolNumber("Any"), 256);
    EXPECT_EQ(QosProtocolNumber("TCP"), 6);
    EXPECT_EQ(QosProtocolNumber("UDP"), 17);
    EXPECT_EQ(QosProtocolNumber("Both"), 257);
    EXPECT_EQ(QosProtocolNumber("ICMP"), 1);
    EXPECT_FALSE(QosProtocolNumber("Other"));
    for (const char *p : {"TCP", "UDP", "Both"})
        EXPECT_TRUE(QosProtocolHasPorts(QString::fromLatin1(p)));
    for (const char *p : {"Any", "ICMP", "Other"})
        EXPECT_FALSE(QosProtocolHasPorts(QString::fromLatin1(p)));
}

TEST(QosRules, ListTexts)
{
    EXPECT_EQ(QosHostText("0.0.0.0", "0.0.0.0", true), "Any");
    EXPECT_EQ(QosHostText("10.0.0.1", "10.0.0.9", true), "10.0.0.1~10.0.0.9");
    EXPECT_EQ(QosHostText("0.0.0.0", "0.0.0.0", false), "0.0.0.0~0.0.0.0");
    EXPECT_EQ(QosPortsText("0", "0"), "Any");
    EXPECT_EQ(QosPortsText("80", "0"), "80/80");
    EXPECT_EQ(QosPortsText("80", "88"), "80/88");
}

TEST(QosRules, AddRefusesWithTheMessageAndField)
{
    const struct {
        QosRuleInput in;
        const char *text, *caption, *field;
    } cases[] = {
        {[] { auto r = rule("10.0.0.1", ""); r.name.clear(); return r; }(), "The Name field can not be blank.",
         "Warning", "Ed_QosName"},
        {rule("", ""), "Invalid IP address!", "Warning", "Ed_IpFrom1"},
        {rule("0.0.0.0", ""), "Invalid IP address!", "Warning", "Ed_IpFrom1"},
        {rule("10.0.0.1", "0.0.0.0"), "Invalid IP address!", "Warning", "Ed_IpTo1"},
        {rule("10.0.0.x", ""), "Invalid IP address!", "Waring", "Ed_IpFrom1"},
        {rule("10.0.0.9", "10.0.0.1"), "Invalid IP address Range!", "Warning", "Ed_IpTo1"},
        {[] { auto r = rule("10.0.0.1", ""); r.portTo1 = "0"; return r; }(), "Invalid Port!", "Warning", "Ed_PortTo1"},
        {[] { auto r = rule("10.0.0.1", ""); r.protocol = "TCP"; r.portFrom1 = "70000"; return r; }(),
         "Invalid port!", "Waring", "Ed_PortFrom1"},
        {[] { auto r = rule("10.0.0.1", ""); r.protocol = "UDP"; r.portFrom2 = "9x"; return r; }(),
         "Invalid port!", "Waring", "Ed_PortFrom2"},
        {[] { auto r = rule("10.0.0.1", ""); r.protocol = "Both"; r.portFrom1 = "90"; r.portTo1 = "80"; return r; }(),
         "Invalid Port Range!", "Waring", "Ed_PortTo1"},
        {[] { auto r = rule("10.0.0.1", ""); r.ipFrom2 = "300.1.1.1"; return r; }(), "Invalid IP address!", "Waring",
         "Ed_IpFrom2"},
        {[] { auto r = rule("10.0.0.1", ""); r.ipFrom2 = "10.0.0.9"; r.ipTo2 = "10.0.0.2"; return r; }(),
         "Invalid IP address Range!", "Warning", "Ed_IpTo2"},
    };
    for (const auto &c : cases) {
        const QosRuleCheck check = CheckQosRule(c.in);
        ASSERT_TRUE(check.problem) << c.text << " " << c.field;
        EXPECT_EQ(check.problem->text, c.text);
        EXPECT_EQ(check.problem->caption, c.caption) << c.field;
        EXPECT_EQ(check.problem->field, c.field);
    }
}

TEST(QosRules, AddFillsEndsAndRangesAndLeavesOutWhatWasNotGiven)
{
    QosRuleInput in = rule("192.168.0.10", "192.168.0.20");
    in.protocol = QStringLiteral("TCP");
    in.portFrom1 = QStringLiteral("80");
    in.ipFrom2 = QStringLiteral("10.0.0.200");
    in.ipTo2 = QStringLiteral("10.0.1.5");
    const QosRuleCheck check = CheckQosRule(in);
    ASSERT_FALSE(check.problem) << check.problem->text.toStdString();
    EXPECT_EQ(check.plan.ipRange1, "11");
    EXPECT_EQ(check.plan.ipRange2, "62");
    EXPECT_EQ(check.plan.portTo1, "80");
    EXPECT_EQ(check.plan.portRange1, "1");
    EXPECT_EQ(check.plan.excluded, (std::set<int>{QcPortFrom2, QcPortTo2, QcPortRange2}));

    in.protocol = QStringLiteral("ICMP");
    in.ipFrom2.clear();
    in.ipTo2.clear();
    const QosRuleCheck icmp = CheckQosRule(in);
    ASSERT_FALSE(icmp.problem);
    EXPECT_EQ(icmp.plan.excluded, (std::set<int>{QcPortFrom1, QcPortTo1, QcPortRange1, QcPortFrom2, QcPortTo2,
                                                 QcPortRange2, QcIpFrom2, QcIpTo2, QcIpRange2}));
}

TEST(ScheduleRules, DayMasksAndTheirTexts)
{
    const struct {
        WeekDays days;
        int mask;
        const char *text;
    } cases[] = {
        {{true, true, false, false, false, false, false}, 3, "Mon Sun"},
        {{false, false, false, false, false, false, true}, 64, "Sat"},
        {{true, true, true, true, true, true, true}, 127, "All Week"},
        {{false, true, false, true, false, true, false}, 42, "Fri Wed Mon"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DayMask(c.days), c.mask);
        EXPECT_EQ(DaysOfMask(c.mask), c.days);
        EXPECT_EQ(DaysText(c.mask), c.text);
    }
}

TEST(ScheduleRules, TimePartsTakeTwoDigitsWithinTheirLimits)
{
    EXPECT_EQ(TimePart("7", 24), "07");
    EXPECT_EQ(TimePart(" 5 ", 60), "05");
    EXPECT_EQ(TimePart("24", 24), "24");
    EXPECT_EQ(TimePart("60", 60), "60");
    for (const char *bad : {"", "25", "-1", "ab", "1.5"})
        EXPECT_FALSE(TimePart(QString::fromLatin1(bad), 24)) << bad;
    EXPECT_EQ(TimeFrameText(false, " 07:05", "18:30 "), "07:05-18:30");
    EXPECT_EQ(TimeFrameText(true, "07:05", "18:30"), "All Day(s) - 24hrs");
}

TEST(WanRules, MtuLimitsByType)
{
    const struct {
        WanType type;
        const char *mtu;
        bool ok;
    } cases[] = {
        {WanStatic, "1500", true}, {WanStatic, "1501", false}, {WanDynamic, "200", true},
        {WanDynamic, "199", false}, {WanPppoe, "1492", true}, {WanPppoe, "1500", false},
        {WanPptp, "1400", true},    {WanPptp, "1401", false},   {WanStatic, "", false},
        {WanStatic, "abc", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidMtu(c.type, QString::fromLatin1(c.mtu)), c.ok) << c.type << " " << c.mtu;
}

TEST(WanRules, HostNamesAndNetworks)
{
    EXPECT_TRUE(IsValidHostName("ap-1.office_lan"));
    for (const QString &bad : {QString(), QStringLiteral("my host"), QStringLiteral("caf\u00e9"), QStringLiteral("a/b")})
        EXPECT_FALSE(IsValidHostName(bad)) << bad.toStdString();
    EXPECT_EQ(NetworkText("192.168.0.50", "255.255.255.0"), "192.168.0.0");
    EXPECT_EQ(NetworkText("10.1.2.3", "255.0.0.0"), "10.0.0.0");
    EXPECT_EQ(NetworkText("pptp.example", "255.255.255.0"), "");
    EXPECT_TRUE(SameNetwork("10.0.0.5", "10.0.0.1", "255.255.255.0"));
    EXPECT_FALSE(SameNetwork("10.0.1.5", "10.0.0.1", "255.255.255.0"));
    EXPECT_FALSE(SameNetwork("server", "server", "255.255.255.0"));
}

} // namespace

namespace {

WanInput pptpInput()
{
    WanInput in;
    in.type = WanPptp;
    in.pptpStatic = true;
    in.pptpIp = QStringLiteral("10.1.1.5");
    in.pptpMask = QStringLiteral("255.255.255.0");
    in.pptpServer = QStringLiteral("vpn.example");
    in.pptpAccount = QStringLiteral("bob");
    in.pptpMtu = QStringLiteral("1400");
    return in;
}

TEST(WanRules, PptpComparesTheGatewayAndFillsEmptyAddresses)
{
    WanInput in = pptpInput();
    WanCheck check = CheckWanInput(in);
    ASSERT_FALSE(check.problem) << check.problem->text.toStdString();
    EXPECT_EQ(check.plan.settings, (std::set<int>{WsPptpMode, WsPptpIp, WsPptpMask, WsPptpGateway, WsPptpDns,
                                                  WsPptpServer, WsPptpAccount, WsPptpPassword}));
    using Fill = std::pair<QString, QString>;
    EXPECT_EQ(check.plan.fills, (std::vector<Fill>{{"Edt_PPTPGateway", "0.0.0.0"}, {"Edt_PPTPDNS", "0.0.0.0"}}));

    in.pptpGateway = QStringLiteral("10.1.2.1");
    in.pptpServer = QStringLiteral("10.1.1.9"); // the server's network does not matter
    check = CheckWanInput(in);
    ASSERT_TRUE(check.problem);
    EXPECT_EQ(check.problem->text, "The Gateway and Router address should be the same network! ");
    EXPECT_EQ(check.problem->field, "Edt_PPTPGateway");

    in.pptpStatic = false; // dynamic: the address fields are neither checked nor written
    check = CheckWanInput(in);
    ASSERT_FALSE(check.problem);
    EXPECT_EQ(check.plan.settings, (std::set<int>{WsPptpMode, WsPptpServer, WsPptpAccount, WsPptpPassword}));
}

TEST(WanRules, PppoeWritesTheDnsOnlyWhenEnteredByHand)
{
    WanInput in;
    in.type = WanPppoe;
    in.pppoeUser = QStringLiteral("alice");
    in.pppoeMtu = QStringLiteral("1492");
    WanCheck check = CheckWanInput(in);
    ASSERT_FALSE(check.problem);
    EXPECT_EQ(check.plan.settings, (std::set<int>{WsPppoeMode, WsPppoeUser, WsPppoePassword, WsPppoeService,
                                                  WsPppoeGetDns, WsConnectMode}));
    in.pppoeManualDns = true;
    in.pppoeDns1 = QStringLiteral("10.0.0.2");
    check = CheckWanInput(in);
    ASSERT_FALSE(check.problem);
    EXPECT_TRUE(check.plan.settings.count(WsPrimaryDns) && check.plan.settings.count(WsSecondaryDns));
    in.pppoeStatic = true;
    in.pppoeIp = QStringLiteral("0.0.0.0");
    check = CheckWanInput(in);
    ASSERT_TRUE(check.problem);
    EXPECT_EQ(check.problem->text, "Please input valid PPPoE IP address.");
}

} // namespace
