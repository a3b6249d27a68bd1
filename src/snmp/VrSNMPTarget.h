#pragma once

#include <QString>
#include <cstdint>

// The one agent this module manages and how to authenticate to it. Start-up
// fills the three global records once; every VrSNMPRequest copies them when
// it is constructed, so later changes to a request never touch the globals.

struct VrSNMPDevice {
    QString address = QStringLiteral("127.0.0.1"); // IP address or DNS name
    uint16_t port = 161;
};

struct VrSNMPScope {
    QString contextEngineId; // its characters are the octets of the engine ID
    QString contextName;
};

// Protocol numbers follow the SNMP++ numbering that the launch switches and
// the per-device configuration file use.
enum VrSNMPVersion : uint8_t { VrSNMPv1 = 0, VrSNMPv2c = 1, VrSNMPv3 = 3 };
enum VrSNMPAuthProtocol { VrAuthNone = 1, VrAuthMD5 = 2, VrAuthSHA = 3 };
enum VrSNMPPrivProtocol { VrPrivNone = 1, VrPrivDES = 2, VrPrivAES128 = 4 };
enum VrSNMPSecurityLevel { VrNoAuthNoPriv = 1, VrAuthNoPriv = 2, VrAuthPriv = 3 };

struct VrSNMPSecurity {
    uint8_t version = VrSNMPv1;
    QString readCommunity = QStringLiteral("hollow");
    QString writeCommunity = QStringLiteral("granite");
    int securityModel = 1;
    int securityLevel = VrNoAuthNoPriv;
    QString securityName;
    QString authPassword;
    QString privPassword;
    int authProtocol = VrAuthNone;
    int privProtocol = VrPrivNone;
};

// Initial Timeout (hundredths of a second) and Retries of every request.
inline constexpr int VrSNMPDefaultTimeout = 100;
inline constexpr int VrSNMPDefaultRetries = 1;

extern VrSNMPDevice g_SNMPDevice;
extern VrSNMPScope g_SNMPScope;
extern VrSNMPSecurity g_SNMPSecurity;
extern int g_SNMPTimeout;
extern int g_SNMPRetries;

// Writes the defaults into the global records (done when the session opens,
// before the launch parameters are applied).
void VrSNMPResetTargetDefaults();
