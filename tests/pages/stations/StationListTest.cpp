// The station rendering shared by the client information and MAC access list
// pages, the WDS and rogue-AP lines, counters and the access-list checks.
#include "StationList.h"

#include <gtest/gtest.h>

using namespace Stations;

namespace {

// index, MAC, band, authentication, RSSI, PSM, SSID, uptime, active time
QStringList client(const QString &mac, const QString &band, const QString &auth, const QString &rssi,
                   const QString &psm = QStringLiteral("0"))
{
    return {"1", mac, band, auth, rssi, psm, "office", "0 days, 00:01:00.00", "0 days, 00:00:10.00"};
}

} // namespace

TEST(StationLines, FreeSlotsAreLeftOutAndColumnsTranslated)
{
    const std::vector<QStringList> rows{
        client("001A2B000001", "0", "1", "57", "1"),
        client("000000000000", "2", "5", "80"),
        client("001A2B000003", "3", "5", "99", "0"),
    };
    const auto lines = StationLines(rows);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].mac, "001A2B000001");
    EXPECT_EQ(lines[0].ssid, "office");
    EXPECT_EQ(lines[0].band, "A");
    EXPECT_EQ(lines[0].authentication, "OPEN");
    EXPECT_EQ(lines[0].signal, "57%");
    EXPECT_EQ(lines[0].powerSaving, "On");
    EXPECT_EQ(lines[1].band, "N");
    EXPECT_EQ(lines[1].authentication, "WPA2-PSK");
    EXPECT_EQ(lines[1].powerSaving, "Off");
}

TEST(StationLines, AuthenticationTexts)
{
    const std::pair<const char *, const char *> cases[] = {
        {"1", "OPEN"}, {"2", "WEP"}, {"3", "WPA-PSK"}, {"4", "WPA-EAP"}, {"5", "WPA2-PSK"},
        {"6", "WPA2-EAP"}, {"7", "wpa-auto-psk"}, {"8", "wpa-auto-eap"}, {"9", "dot1x"},
        {"0", "0"}, {"12", "12"}, {"", ""}};
    for (const auto &[value, text] : cases)
        EXPECT_EQ(StationAuthenticationText(QString::fromLatin1(value)), QString::fromLatin1(text)) << value;
}

// What a device may send that it should not: the page lists what it can.
TEST(StationLines, StrangeRowsAreListedAsFarAsTheyGo)
{
    const std::vector<QStringList> rows{
        client("001A2B000001", "7", "11", "-40", "3"),  // values outside their ranges
        {"2", "001A2B000002", "1"},                      // a short row
        {"3", "(NOTDONE)", "1", "1", "50"},              // its MAC column ended early
        client("001A2B0000041", "1", "2", "101"),        // 13 digits
        {},
    };
    const auto lines = StationLines(rows);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].band, "7");
    EXPECT_EQ(lines[0].authentication, "11");
    EXPECT_EQ(lines[0].signal, "");
    EXPECT_EQ(lines[0].powerSaving, "3");
    EXPECT_EQ(lines[1].band, "B");
    EXPECT_EQ(lines[1].authentication, "");
    EXPECT_EQ(lines[1].ssid, "");
    EXPECT_EQ(lines[2].mac, "001A2B0000041");
    EXPECT_EQ(lines[2].signal, "");
}

TEST(WdsLines, FreePeersStayWithAnEmptyMacAndOpenPeersReadNoneWithoutEncryption)
{
    // index, MAC, band, authentication, RSSI, PSM, name, connected, status
    const std::vector<QStringList> rows{
        {"1", "001A2B00000A", "2", "1", "64", "0", "peer-a", "1", "on"},
        {"2", "000000000000", "0", "5", "0", "0", "", "0", "off"},
    };
    auto lines = WdsLines(rows, false);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].name, "peer-a");
    EXPECT_EQ(lines[0].authentication, "None");
    EXPECT_EQ(lines[0].signal, "64%");
    EXPECT_EQ(lines[0].status, "On");
    EXPECT_EQ(lines[1].mac, "");
    EXPECT_EQ(lines[1].authentication, "wpa2-psk");
    EXPECT_EQ(lines[1].signal, "");
    EXPECT_EQ(lines[1].status, "Off");
    EXPECT_EQ(WdsLines(rows, true)[0].authentication, "opensystem");
}

TEST(SurveyLines, FilterByClassAndFindIndexByBssid)
{
    // index, channel, BSSID, mode, SSID, last seen, type, status
    const std::vector<QStringList> rows{
        {"1", "6", "001A2B000001", "2", "cafe", "3 sec ago", "1", "2"},
        {"4", "11", "001A2B000002", "4", "lab", "9 sec ago", "4", "1"},
        {"5", "1", "001A2B000003", "9", "odd", "", "7", "5"},
        {"6", "0", "000000000000", "0", "", "", "0", "0"}, // a free row
    };
    const auto all = SurveyLines(rows, QStringLiteral("All"));
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].type, "new");
    EXPECT_EQ(all[0].band, "G");
    EXPECT_EQ(all[0].status, "up");
    EXPECT_EQ(all[1].band, "A");
    EXPECT_EQ(all[1].status, "down");
    EXPECT_EQ(all[2].type, "7");
    const auto rogue = SurveyLines(rows, QStringLiteral("Rogue"));
    ASSERT_EQ(rogue.size(), 1u);
    EXPECT_EQ(rogue[0].ssid, "lab");
    EXPECT_TRUE(SurveyLines(rows, QStringLiteral("Neighborhood")).empty());

    EXPECT_EQ(SurveyIndexOf(rows, QStringLiteral("001a2b000002")), 4);
    EXPECT_EQ(SurveyIndexOf(rows, QStringLiteral("001A2B0000FF")), std::nullopt);
    EXPECT_EQ(SurveyIndexOf(rows, QString()), std::nullopt);
}

TEST(Counters, ShownUnsignedWhateverTheWidth)
{
    const std::pair<const char *, const char *> cases[] = {
        {"0", "0"}, {"123", "123"}, {"4294967295", "4294967295"},
        {"18446744073709551615", "18446744073709551615"},
        {"-1", "4294967295"}, {"-1294967296", "3000000000"}, {"-2147483648", "2147483648"},
        {"(NULL)", ""}, {"", ""}};
    for (const auto &[value, text] : cases)
        EXPECT_EQ(CounterText(QString::fromLatin1(value)), QString::fromLatin1(text)) << value;
}

TEST(AccessList, NewAddressChecksAndFreeRows)
{
    const std::vector<QStringList> rows{{"1", "001122334455"}, {"2", "000000000000"}, {"3", "00AABBCCDDEE"}};
    const QStringList listed = ListedMacs(rows);
    EXPECT_EQ(listed, (QStringList{"001122334455", "00AABBCCDDEE"}));
    const std::pair<const char *, MacRefusal> cases[] = {
        {"00112233445", MacRefusal::Length}, {"0011223344556", MacRefusal::Length}, {"", MacRefusal::Length},
        {"000000000000", MacRefusal::Zero}, {"00aabbccddee", MacRefusal::Duplicate},
        {"001122334466", MacRefusal::None}};
    for (const auto &[mac, refusal] : cases)
        EXPECT_EQ(CheckNewAclMac(QString::fromLatin1(mac), listed), refusal) << mac;
    EXPECT_EQ(FirstFreeRow(rows), 1);
    EXPECT_EQ(FirstFreeRow({{"1", "001122334455"}}), std::nullopt);
}
