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
// the per-device configuration file use (they give n for protocol n + 1).
// The SHA-2 authentication protocols are HMAC-SHA-2 of RFC 7860 (HMAC-128-
// SHA-224 .. HMAC-384-SHA-512); AES-192 and AES-256 are AES in CFB mode with
// the privacy key lengthened as Net-SNMP's own tools do for "AES-192" and
// "AES-256" (draft-blumenthal-aes-usm-04, section 3.1.2.1). Privacy protocol
// 3 (IDEA in that numbering) is not spoken.
enum VrSNMPVersion : uint8_t { VrSNMPv1 = 0, VrSNMPv2c = 1, VrSNMPv3 = 3 };
enum VrSNMPAuthProtocol {
    VrAuthNone = 1,
    VrAuthMD5 = 2,
    VrAuthSHA = 3,
    VrAuthSHA224 = 4,
    VrAuthSHA256 = 5,
    VrAuthSHA384 = 6,
    VrAuthSHA512 = 7,
};
enum VrSNMPPrivProtocol { VrPrivNone = 1, VrPrivDES = 2, VrPrivAES128 = 4, VrPrivAES192 = 5, VrPrivAES256 = 6 };
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

// Whether this build speaks an authentication or privacy protocol (numbers
// as above; "none" is always spoken).
bool VrSNMPAuthProtocolSupported(int protocol);
bool VrSNMPPrivProtocolSupported(int protocol);

// Overwrites a pass phrase's characters and empties the string, when this
// copy is the last one holding them (a shared copy is left to the last
// holder: writing to it would only make another copy first).
void VrSNMPWipePassPhrase(QString &text);

// Writes the defaults into the global records (done when the session opens,
// before the launch parameters are applied).
void VrSNMPResetTargetDefaults();
