#include "MultiSsidRules.h"

#include <gtest/gtest.h>

namespace {

TEST(MultiSsidRules, ListTextsGoBothWays)
{
    for (int index = 1; index <= MssidRowCount; ++index)
        EXPECT_EQ(MssidIndexOfListText(MssidListIndexText(index)), index);
    EXPECT_EQ(MssidListIndexText(3), "Multi-SSID 2");
    EXPECT_EQ(MssidIndexOfListText("Multi-SSID 4"), 0);
}

TEST(MultiSsidRules, EncryptionColumn)
{
    struct Case { int auth; bool encryption; const char *text; };
    for (const Case &c : {Case{1, false, "None"}, Case{1, true, "OpenSystem"}, Case{2, true, "Shared Key"},
                          Case{3, false, "WPA-Personal"}, Case{6, false, "WPA2-Enterprise"},
                          Case{8, false, "WPA-Auto-Enterprise"}, Case{9, false, ""}})
        EXPECT_EQ(MssidEncryptionText(c.auth, c.encryption), c.text) << c.auth;
}

TEST(MultiSsidRules, SsidChecks)
{
    struct Case { QString ssid; const char *message; };
    const Case cases[] = {
        {"", "Please input SSID!"},
        {" lead", "The first character can't be blank!"},
        {QString(33, 'x'), "The Max Length of SSID is 32!"},
        {QString(16, QChar(0xE9)) + "x", "The Max Length of SSID is 32!"}, // 33 octets
        {QString::fromUtf8("caf\xC3\xA9"), "Don't support chinese character !"},
    };
    for (const Case &c : cases) {
        const Check p = CheckMssidSsid(c.ssid);
        ASSERT_TRUE(p) << c.message;
        EXPECT_EQ(p->text, c.message);
    }
    EXPECT_FALSE(CheckMssidSsid(QString(32, 'x')));
}

TEST(MultiSsidRules, SsidMustDifferFromOtherEnabledRows)
{
    const QList<MssidRow> rows{{1, true, "main", 1, false, 1}, {2, false, "old", 1, false, 1},
                               {3, true, "guest", 1, false, 1}, {4, false, "", 1, false, 1}};
    EXPECT_EQ(CheckMssidSsidUnique(4, "main", rows)->text, "The 11g SSID 3's SSID is same as Primary SSID");
    EXPECT_EQ(CheckMssidSsidUnique(2, "guest", rows)->text, "The 11g SSID 1's SSID is same as SSID 2");
    EXPECT_FALSE(CheckMssidSsidUnique(4, "old", rows));   // a deleted row frees its SSID
    EXPECT_FALSE(CheckMssidSsidUnique(3, "guest", rows)); // the row itself
}

TEST(MultiSsidRules, NumbersAndSecrets)
{
    EXPECT_EQ(CheckRekeyInterval("")->title, "Warning");
    for (const char *bad : {"299", "10000000", "3600x", "36 00"}) {
        const Check p = CheckRekeyInterval(bad);
        ASSERT_TRUE(p) << bad;
        EXPECT_EQ(p->title, "Error");
        EXPECT_TRUE(p->clear);
    }
    EXPECT_FALSE(CheckRekeyInterval("300"));
    EXPECT_FALSE(CheckRekeyInterval("9999999"));
    EXPECT_EQ(CheckMssidPassphrase("abc", "abc")->text, "The ComPassphrase length is between 8 and 63.");
    EXPECT_EQ(CheckMssidPassphrase("abcdefgh", "abcdefgx")->field, "Ed_ConfirmPass");
    EXPECT_FALSE(CheckMssidPassphrase(QString(63, 'p'), QString(63, 'p')));
    EXPECT_EQ(CheckMssidPassphrase(QString(64, 'p'), QString(64, 'p'))->text, "The max length of Passphrase is 63.");
    for (const char *bad : {"1.2.3.4.5", "0.1.2.3", "224.0.0.1", "10.0.0.255", "10.0.0", ""})
        EXPECT_TRUE(CheckMssidRadiusServer(bad)) << bad;
    EXPECT_FALSE(CheckMssidRadiusServer("192.168.0.10"));
}

TEST(MultiSsidRules, WepKeys)
{
    struct Case { KeyType type; bool bits128; const char *key; const char *message; };
    const Case cases[] = {
        {KeyType::Hex, false, "12345", "The Length of the key must be 10 hexadecimal numbers!"},
        {KeyType::Hex, true, "12345", "The Length of the key must be 26 hexadecimal numbers!"},
        {KeyType::Ascii, false, "abc", "The Length of the key  must be 5 ASCII numbers!"},
        {KeyType::Ascii, true, "abc", "The Length of the keymust be 13 ASCII numbers!"},
        {KeyType::Hex, false, "12345678zz", "Please input  Hexadecimal digits!"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CheckMssidWepKey(c.type, c.bits128, c.key, c.key)->text, c.message);
    EXPECT_EQ(CheckMssidWepKey(KeyType::Ascii, false, "abcde", "abcdf")->field, "Ed_ConfirmKey");
    EXPECT_FALSE(CheckMssidWepKey(KeyType::Hex, false, "0123456789", "0123456789"));
}

TEST(MultiSsidRules, SharedWepKeys)
{
    const QList<MssidRow> rows{{1, true, "main", 1, true, 2}, {2, true, "b", 2, false, 3},
                               {3, true, "c", 5, false, 1}, {4, false, "d", 1, true, 1}};
    EXPECT_TRUE(KeyUsedByOtherSsid(2, 2, rows));  // the primary uses WEP with key 2
    EXPECT_TRUE(KeyUsedByOtherSsid(1, 3, rows));  // shared key always uses WEP
    EXPECT_FALSE(KeyUsedByOtherSsid(2, 1, rows)); // WPA and disabled rows do not count
    EXPECT_FALSE(KeyUsedByOtherSsid(1, 2, rows)); // the row itself
}

} // namespace
