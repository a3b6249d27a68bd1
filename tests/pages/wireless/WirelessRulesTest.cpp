#include "WirelessRules.h"

#include <gtest/gtest.h>

using namespace SecurityText;

TEST(WirelessRules, ModesByBandAndCountry)
{
    const QStringList all{"Access Point", "WDS with AP", "WDS", "Wireless Client"};
    const QStringList two{"Access Point", "Wireless Client"};
    EXPECT_EQ(ApModeEntries("JP", true, 0), two);
    EXPECT_EQ(ApModeEntries("gb", true, 0), two);
    EXPECT_EQ(ApModeEntries("JP", false, 0), all);
    EXPECT_EQ(ApModeEntries("US", true, 0), all);
    // The outdoor application (Japan only) on 5 GHz allows only the same two.
    EXPECT_EQ(ApModeEntries("JP", true, 1), two);
    EXPECT_EQ(ApModeEntries("US", true, 1), all);
    EXPECT_EQ(ApModesInForce("GB", true).size(), 2);
}

TEST(WirelessRules, ChannelListChoice)
{
    EXPECT_EQ(ChannelListFor(false, "WDS", "JP", 1), ChannelList::Band24);
    EXPECT_EQ(ChannelListFor(true, "WDS with AP", "US", 0), ChannelList::Band5Wds);
    EXPECT_EQ(ChannelListFor(true, "Access Point", "US", 0), ChannelList::Band5);
    EXPECT_EQ(ChannelListFor(true, "Access Point", "JP", 1), ChannelList::Band5Outdoor);
    EXPECT_EQ(ChannelListFor(true, "Access Point", "US", 1), ChannelList::Band5);
}

TEST(WirelessRules, ChannelEntriesFallBackOnlyWhenEmpty)
{
    EXPECT_EQ(ChannelEntries("  36  40\t44 ", ChannelList::Band5), (QStringList{"36", "40", "44"}));
    EXPECT_EQ(ChannelEntries("", ChannelList::Band24).size(), 13);
    EXPECT_EQ(ChannelEntries("   ", ChannelList::Band5Wds), (QStringList{"36", "40", "44", "48"}));
    EXPECT_EQ(ChannelEntries("", ChannelList::Band5).size(), 19);
    EXPECT_EQ(ChannelEntries("", ChannelList::Band5Outdoor).first(), "100");
}

TEST(WirelessRules, ChannelWidthLock)
{
    ChannelWidthInputs in;
    in.wifiMode = 6;
    in.channel = "6";
    in.authClass = WpaPersonal;
    in.encryption = true;
    in.country = "US";
    EXPECT_FALSE(ChannelWidthLocked(in));

    ChannelWidthInputs kr = in;
    kr.country = "KR";
    EXPECT_TRUE(ChannelWidthLocked(kr));

    ChannelWidthInputs legacy = in;
    legacy.wifiMode = 3;
    EXPECT_TRUE(ChannelWidthLocked(legacy));
    legacy.band5 = true; // 3 is not legacy on 5 GHz, 7 is
    EXPECT_FALSE(ChannelWidthLocked(legacy));
    legacy.wifiMode = 7;
    EXPECT_TRUE(ChannelWidthLocked(legacy));

    for (const char *edge : {"165", "140", "12", "13", "14"}) {
        ChannelWidthInputs e = in;
        e.channel = edge;
        EXPECT_TRUE(ChannelWidthLocked(e)) << edge;
    }

    ChannelWidthInputs wep = in;
    wep.authClass = OpenSystem;
    EXPECT_TRUE(ChannelWidthLocked(wep));
    wep.encryption = false;
    EXPECT_FALSE(ChannelWidthLocked(wep));
    wep.authClass = SharedKey;
    wep.encryption = true;
    EXPECT_TRUE(ChannelWidthLocked(wep));
}

TEST(WirelessRules, KeySizesAndLengths)
{
    EXPECT_TRUE(Is128BitKey(KeyType::Ascii, "1234567890123"));
    EXPECT_FALSE(Is128BitKey(KeyType::Ascii, "12345"));
    EXPECT_TRUE(Is128BitKey(KeyType::Hex, QString(26, 'A')));
    EXPECT_FALSE(Is128BitKey(KeyType::Hex, "1234567890123")); // 13 HEX digits: 64 bits
    EXPECT_EQ(KeyLength(KeyType::Ascii, false), 5);
    EXPECT_EQ(KeyLength(KeyType::Ascii, true), 13);
    EXPECT_EQ(KeyLength(KeyType::Hex, false), 10);
    EXPECT_EQ(KeyLength(KeyType::Hex, true), 26);
    EXPECT_TRUE(IsMaskedKey("*****"));
    EXPECT_FALSE(IsMaskedKey(""));
    EXPECT_FALSE(IsMaskedKey("**a**"));
}

TEST(WirelessRules, SsidChecks)
{
    EXPECT_FALSE(CheckSsid(QString(32, 'a')));
    auto p = CheckSsid(QString(33, 'a'));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->text, "The Max Length of SSID is 32.!");
    EXPECT_EQ(p->title, "Warning");
    EXPECT_TRUE(p->clear);
    // 31 ASCII characters and one of two octets are 33 octets on the wire.
    p = CheckSsid(QString(31, 'a') + QChar(0xE9));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->text, "The Max Length of SSID is 32.!");
    EXPECT_EQ(CheckSsid("")->text, "Please Input SSID.");
    p = CheckSsid(" ap");
    EXPECT_EQ(p->text, "The first character can't be blank.");
    EXPECT_EQ(p->title, "Error");
    p = CheckSsid(QStringLiteral("ap") + QChar(0x4E2D));
    EXPECT_EQ(p->text, "Don't support chinese character !");
    EXPECT_EQ(p->field, "Ed_SSID");
}

TEST(WirelessRules, WepKeyChecks)
{
    EXPECT_FALSE(CheckWepKey(1, KeyType::Ascii, false, "abcde", "abcde"));
    EXPECT_FALSE(CheckWepKey(2, KeyType::Hex, true, QString(26, 'f'), QString(26, 'f')));

    auto p = CheckWepKey(1, KeyType::Ascii, false, "abcde", "abcdX");
    EXPECT_EQ(p->text, "Please input the confirm new password correctly!");
    EXPECT_EQ(p->field, "Ed_ConfirmKey");

    EXPECT_EQ(CheckWepKey(1, KeyType::Hex, false, "12", "12")->text,
              "The Length of the 1st key must be 10 hexadecimal numbers!");
    EXPECT_EQ(CheckWepKey(2, KeyType::Hex, true, "12", "12")->text,
              "The Length of the 2nd key must be 26 hexadecimal numbers!");
    EXPECT_EQ(CheckWepKey(3, KeyType::Ascii, false, "12", "12")->text,
              "The Length of the 3rd key must be 5 ASCII numbers!");
    EXPECT_EQ(CheckWepKey(3, KeyType::Ascii, true, "12", "12")->text,
              "The Length of the 3rd key must be 13 ASCII numbers!");
    EXPECT_EQ(CheckWepKey(4, KeyType::Ascii, false, "12", "12")->text,
              "The Length of the 4th key in must be 5 ASCII numbers!");
    p = CheckWepKey(4, KeyType::Ascii, true, "12", "12");
    EXPECT_EQ(p->text, "The Length of the 4th key in must be 13 ASCII numbers!!");
    EXPECT_EQ(p->field, "Ed_Key4");
    EXPECT_EQ(CheckWepKey(4, KeyType::Hex, false, "12", "12")->text,
              "The Length of the 4th key must be 10 hexadecimal numbers!");

    p = CheckWepKey(1, KeyType::Hex, false, "12345678zz", "12345678zz");
    EXPECT_EQ(p->text, "Please input  Hexadecimal digits!");
    EXPECT_EQ(p->title, "Warning");
}

TEST(WirelessRules, PassphraseIntervalAndRadiusChecks)
{
    EXPECT_EQ(CheckPassphrase("1234567", "1234567")->text, "The Passphrase length is between 8 and 63.");
    EXPECT_FALSE(CheckPassphrase("12345678", "12345678"));
    EXPECT_FALSE(CheckPassphrase(QString(63, 'p'), QString(63, 'p')));
    EXPECT_EQ(CheckPassphrase(QString(64, 'p'), QString(64, 'p'))->text, "The max length of Passphrase is 63.");
    auto p = CheckPassphrase("12345678", "12345679");
    EXPECT_EQ(p->title, "Warning");
    EXPECT_EQ(p->field, "Ed_ConfirmPass");

    for (const char *bad : {"", "299", "10000000", "abc", "3600s"})
        EXPECT_EQ(CheckGroupKeyInterval(bad)->text, "Please input a number between 300 and 9999999.") << bad;
    EXPECT_FALSE(CheckGroupKeyInterval("300"));
    EXPECT_FALSE(CheckGroupKeyInterval("9999999"));

    EXPECT_EQ(CheckRadiusPortAndSecret("0", "s")->text, "Please input a number between 1 and 65535.");
    EXPECT_EQ(CheckRadiusPortAndSecret("65536", "s")->field, "Edt_RadiusPort");
    EXPECT_EQ(CheckRadiusPortAndSecret("1812", "")->text, "The shared secret of radius server cannot be empty.");
    EXPECT_EQ(CheckRadiusPortAndSecret("1812", QString(65, 's'))->text,
              "The max length of secret of radius server is 64.");
    EXPECT_FALSE(CheckRadiusPortAndSecret("65535", QString(64, 's')));
}

TEST(WirelessRules, WdsPeerChecks)
{
    QStringList peers(8);
    EXPECT_FALSE(CheckWdsPeers(peers));
    peers[0] = "00112233aabb";
    peers[2] = "000000000000";
    peers[3] = "00112233AABB";
    auto p = CheckWdsPeers(peers);
    EXPECT_EQ(p->text, "Exist same MAC address.");
    EXPECT_EQ(p->field, "Ed_ReMAddra3");

    peers[3] = "0011223344";
    p = CheckWdsPeers(peers);
    EXPECT_EQ(p->text, "The length is 12 MAC address.");
    EXPECT_EQ(p->title, "Error");

    peers[3] = "001122334455";
    EXPECT_FALSE(CheckWdsPeers(peers));
    peers[0] = "";
    p = CheckWdsPeers(peers);
    EXPECT_EQ(p->text, "Please input MAC address in first blank space!");
    EXPECT_EQ(p->field, "Ed_ReMAddra0");
}

TEST(WirelessRules, WriteOrder)
{
    using W = WriteGroup;
    EXPECT_EQ(PreludeWrites("JP", ApMode::Wds, true), (std::vector<W>{W::Application, W::MultiSsidOff, W::Band}));
    EXPECT_EQ(PreludeWrites("US", ApMode::WdsWithAp, true), std::vector<W>{W::Band});
    EXPECT_EQ(PreludeWrites("US", ApMode::WirelessClient, false), std::vector<W>{W::Band});

    EXPECT_EQ(SecurityWrites(ApMode::AccessPoint, OpenSystem, false),
              (std::vector<W>{W::ApMode, W::Basic, W::Security}));
    EXPECT_EQ(SecurityWrites(ApMode::AccessPoint, OpenSystem, true),
              (std::vector<W>{W::WepKey, W::ApMode, W::Basic, W::Security}));
    EXPECT_EQ(SecurityWrites(ApMode::WdsWithAp, SharedKey, true),
              (std::vector<W>{W::WepKey, W::ApMode, W::Basic, W::Security, W::WdsPeers}));
    EXPECT_EQ(SecurityWrites(ApMode::AccessPoint, WpaPersonal, false),
              (std::vector<W>{W::ApMode, W::Basic, W::Passphrase, W::Security}));
    EXPECT_EQ(SecurityWrites(ApMode::AccessPoint, WpaEnterprise, false),
              (std::vector<W>{W::ApMode, W::Basic, W::Radius, W::Passphrase, W::Security}));
    EXPECT_EQ(SecurityWrites(ApMode::WirelessClient, WpaPersonal, false),
              (std::vector<W>{W::ApMode, W::Basic, W::Passphrase, W::Security, W::MacClone}));

    EXPECT_TRUE(BasicWritesFor(ApMode::AccessPoint).autoChannelScan);
    EXPECT_FALSE(BasicWritesFor(ApMode::Wds).autoChannelScan);
    EXPECT_TRUE(BasicWritesFor(ApMode::Wds).ssidBroadcast);
    EXPECT_FALSE(BasicWritesFor(ApMode::WirelessClient).ssidBroadcast);
}
