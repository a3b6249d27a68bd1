#include "VrSNMPTarget.h"

#include <cstring>

VrSNMPDevice g_SNMPDevice;
VrSNMPScope g_SNMPScope;
VrSNMPSecurity g_SNMPSecurity;
int g_SNMPTimeout = VrSNMPDefaultTimeout;
int g_SNMPRetries = VrSNMPDefaultRetries;

void VrSNMPWipePassPhrase(QString &text)
{
    if (text.isDetached())
        explicit_bzero(text.data(), size_t(text.size()) * sizeof(QChar));
    text.clear();
}

void VrSNMPResetTargetDefaults()
{
    VrSNMPWipePassPhrase(g_SNMPSecurity.authPassword);
    VrSNMPWipePassPhrase(g_SNMPSecurity.privPassword);
    g_SNMPDevice = VrSNMPDevice{};
    g_SNMPScope = VrSNMPScope{};
    g_SNMPSecurity = VrSNMPSecurity{};
    g_SNMPTimeout = VrSNMPDefaultTimeout;
    g_SNMPRetries = VrSNMPDefaultRetries;
}
