#include "VrSNMPTarget.h"

VrSNMPDevice g_SNMPDevice;
VrSNMPScope g_SNMPScope;
VrSNMPSecurity g_SNMPSecurity;
int g_SNMPTimeout = VrSNMPDefaultTimeout;
int g_SNMPRetries = VrSNMPDefaultRetries;

void VrSNMPResetTargetDefaults()
{
    g_SNMPDevice = VrSNMPDevice{};
    g_SNMPScope = VrSNMPScope{};
    g_SNMPSecurity = VrSNMPSecurity{};
    g_SNMPTimeout = VrSNMPDefaultTimeout;
    g_SNMPRetries = VrSNMPDefaultRetries;
}
