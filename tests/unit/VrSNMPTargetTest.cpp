#include "VrSNMPTarget.h"

#include <gtest/gtest.h>

TEST(VrSNMPTarget, ResetRestoresFactoryDefaultsAfterLaunchParameters)
{
    g_SNMPDevice.address = QStringLiteral("10.0.0.9");
    g_SNMPDevice.port = 1161;
    g_SNMPScope.contextName = QStringLiteral("ctx");
    g_SNMPSecurity.version = VrSNMPv3;
    g_SNMPSecurity.authProtocol = VrAuthSHA;
    g_SNMPSecurity.readCommunity = QStringLiteral("other");
    g_SNMPTimeout = 6000;

    VrSNMPResetTargetDefaults();

    EXPECT_EQ(g_SNMPDevice.address, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(g_SNMPDevice.port, 161);
    EXPECT_TRUE(g_SNMPScope.contextName.isEmpty());
    EXPECT_TRUE(g_SNMPScope.contextEngineId.isEmpty());
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv1);
    EXPECT_EQ(g_SNMPSecurity.readCommunity, QStringLiteral("hollow"));
    EXPECT_EQ(g_SNMPSecurity.writeCommunity, QStringLiteral("granite"));
    EXPECT_EQ(g_SNMPSecurity.securityModel, 1);
    EXPECT_EQ(g_SNMPSecurity.securityLevel, VrNoAuthNoPriv);
    EXPECT_EQ(g_SNMPSecurity.authProtocol, VrAuthNone);
    EXPECT_EQ(g_SNMPSecurity.privProtocol, VrPrivNone);
    EXPECT_TRUE(g_SNMPSecurity.securityName.isEmpty());
    EXPECT_EQ(g_SNMPTimeout, 100);
    EXPECT_EQ(g_SNMPRetries, 1);
}
