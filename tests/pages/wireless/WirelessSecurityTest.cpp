#include "WirelessSecurity.h"

#include <gtest/gtest.h>

using namespace SecurityText;

// Every authentication number the device knows goes to a visible pair and
// comes back unchanged.
TEST(WirelessSecurity, EveryNumberRoundTrips)
{
    for (int value = 1; value <= 8; ++value) {
        const SecurityPair pair = SecurityPairOf(value);
        ASSERT_FALSE(pair.authClass.isEmpty()) << value;
        EXPECT_EQ(AuthenticationOf(pair.authClass, pair.wpaMode), value) << value;
    }
}

TEST(WirelessSecurity, PairsAsTheUserSeesThem)
{
    EXPECT_EQ(AuthenticationOf(WpaPersonal, WpaAuto), 7);
    EXPECT_EQ(AuthenticationOf(WpaPersonal, Wpa2Only), 5);
    EXPECT_EQ(AuthenticationOf(WpaPersonal, WpaOnly), 3);
    EXPECT_EQ(AuthenticationOf(WpaEnterprise, WpaOnly), 4);
    EXPECT_EQ(AuthenticationOf(WpaEnterprise, Wpa2Only), 6);
    EXPECT_EQ(AuthenticationOf(WpaEnterprise, WpaAuto), 8);
    // The WPA combo keeps its last entry while a WEP class is shown.
    EXPECT_EQ(AuthenticationOf(OpenSystem, Wpa2Only), 1);
    EXPECT_EQ(AuthenticationOf(SharedKey, WpaAuto), 2);
    EXPECT_EQ(AuthenticationOf(QStringLiteral("wpa-personal"), WpaAuto), 0);
    EXPECT_EQ(AuthenticationOf(WpaPersonal, QString()), 0);
}

TEST(WirelessSecurity, NumbersWithoutAVisibleClass)
{
    for (int value : {0, 9, 10, -1}) {
        const SecurityPair pair = SecurityPairOf(value);
        EXPECT_TRUE(pair.authClass.isEmpty()) << value;
        EXPECT_TRUE(pair.wpaMode.isEmpty()) << value;
    }
    EXPECT_EQ(SecurityPairOf(1).wpaMode, QString());
    EXPECT_EQ(SecurityPairOf(6).wpaMode, Wpa2Only);
}

TEST(WirelessSecurity, ChoicesPerMode)
{
    const QStringList allWpa{WpaAuto, Wpa2Only, WpaOnly};
    SecurityChoices c = SecurityChoicesFor(ApMode::AccessPoint, false, false);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, SharedKey, WpaPersonal, WpaEnterprise}));
    EXPECT_EQ(c.wpaModes, allWpa);
    c = SecurityChoicesFor(ApMode::AccessPoint, true, true);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, WpaPersonal, WpaEnterprise}));

    c = SecurityChoicesFor(ApMode::WdsWithAp, true, true);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, WpaPersonal}));
    EXPECT_EQ(c.wpaModes, allWpa);
    c = SecurityChoicesFor(ApMode::WdsWithAp, true, false);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, WpaPersonal}));
    EXPECT_EQ(c.wpaModes, (QStringList{WpaAuto, Wpa2Only}));
    c = SecurityChoicesFor(ApMode::WdsWithAp, false, false);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, SharedKey, WpaPersonal}));
    EXPECT_TRUE(c.wpaModeEnabled);

    c = SecurityChoicesFor(ApMode::Wds, false, false);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, SharedKey, WpaPersonal}));
    EXPECT_EQ(c.wpaModes, QStringList{Wpa2Only});
    EXPECT_FALSE(c.wpaModeEnabled);
    c = SecurityChoicesFor(ApMode::Wds, true, false);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, WpaPersonal}));

    c = SecurityChoicesFor(ApMode::WirelessClient, true, true);
    EXPECT_EQ(c.classes, (QStringList{OpenSystem, WpaPersonal}));
    EXPECT_EQ(c.wpaModes, allWpa);
}

TEST(WirelessSecurity, ModeTexts)
{
    EXPECT_EQ(ApModeFromText(QStringLiteral("wds with ap")), 2);
    EXPECT_EQ(ApModeFromText(QStringLiteral("WDS")), 3);
    EXPECT_EQ(ApModeFromText(QStringLiteral("Wireless Client")), 4);
    EXPECT_EQ(ApModeFromText(QStringLiteral("WDS With")), 0);
    EXPECT_EQ(ApModeText(ApMode::AccessPoint), QStringLiteral("Access Point"));
}
