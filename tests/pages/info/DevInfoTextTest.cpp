#include "DevInfoText.h"

#include <gtest/gtest.h>

namespace {
struct Mac {
    QString text;
    bool overflow = false;
};
Mac secondary(const char *mac, int increment)
{
    Mac result;
    result.text = SecondaryMacAddress(QString::fromLatin1(mac), increment, &result.overflow);
    return result;
}
} // namespace

TEST(SecondaryMacAddress, AddsToTheFirstByteWithCarryAndKeepsTheRest)
{
    EXPECT_EQ(secondary("00112233AABB", 2).text, QStringLiteral("02112233AABB"));
    EXPECT_EQ(secondary("00112233AABB", 6).text, QStringLiteral("06112233AABB"));
    EXPECT_EQ(secondary("0F0000000001", 2).text, QStringLiteral("110000000001"));
    EXPECT_EQ(secondary("0F0000000001", 6).text, QStringLiteral("150000000001"));
    EXPECT_EQ(secondary("fa0000000001", 2).text, QStringLiteral("FC0000000001"));
    EXPECT_FALSE(secondary("FA0000000001", 2).overflow);
}

TEST(SecondaryMacAddress, CarryOutOfTheFirstByteGivesZerosAndSaysSo)
{
    const Mac last = secondary("FA0000000001", 6);
    EXPECT_EQ(last.text, QStringLiteral("000000000000"));
    EXPECT_TRUE(last.overflow);
    EXPECT_TRUE(secondary("FE0000000001", 2).overflow);
}

TEST(SecondaryMacAddress, TextWithoutAHexByteGivesNothing)
{
    for (const char *mac : {"", "0", "G00000000000", "(NULL)", "-10000000000"}) {
        const Mac result = secondary(mac, 2);
        EXPECT_TRUE(result.text.isEmpty()) << mac;
        EXPECT_FALSE(result.overflow) << mac;
    }
}

TEST(SecurityLevelText, NamesTheAuthenticationWithCipherOrKeySize)
{
    const QString thirteen = QStringLiteral("abcdefghijklm");
    EXPECT_EQ(SecurityLevelText("wpa2-psk", "Enable", "AES", 0, ""), QStringLiteral("WPA2-Personal / AES"));
    EXPECT_EQ(SecurityLevelText("wpa-auto-eap", "Enable", "auto", 0, ""), QStringLiteral("WPA2-Auto-Enterprise / AUTO"));
    EXPECT_EQ(SecurityLevelText("opensystem", "Enable", "WEP", 0, thirteen), QStringLiteral("Open / 128bits"));
    EXPECT_EQ(SecurityLevelText("opensystem", "Disable", "WEP", 0, thirteen), QStringLiteral("None"));
    EXPECT_EQ(SecurityLevelText("sharedkey", "Enable", "WEP", 1, QString(10, u'A')), QStringLiteral("Shared Key / 64bits"));
    EXPECT_EQ(SecurityLevelText("sharedkey", "Enable", "WEP", 1, QString(26, u'A')), QStringLiteral("Shared Key / 128bits"));
}

TEST(SecurityLevelText, KeySizeOnlyForTheLengthsOfItsEntryMethod)
{
    // 10 characters is a 64-bit key only in hex, 5 only in ascii.
    EXPECT_EQ(SecurityLevelText("sharedkey", "Enable", "WEP", 0, QString(10, u'A')), QStringLiteral("Shared Key / "));
    EXPECT_EQ(SecurityLevelText("sharedkey", "Enable", "WEP", 1, QString(5, u'A')), QStringLiteral("Shared Key / "));
    EXPECT_EQ(SecurityLevelText("opensystem", "Enable", "WEP", -1, QString(5, u'A')), QStringLiteral("Open / "));
    EXPECT_TRUE(SecurityLevelText("dot1x", "Enable", "WEP", 0, "").isEmpty());
    EXPECT_TRUE(SecurityLevelText("", "", "", -1, "").isEmpty());
}
