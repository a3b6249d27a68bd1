#include "DeviceTarget.h"

#include "VrSNMPRequest.h"

DeviceTarget DeviceTarget::FromGlobals()
{
    return DeviceTarget{g_SNMPDevice, g_SNMPScope, g_SNMPSecurity};
}

QString DeviceTarget::Label() const
{
    return device.port == 161 ? device.address : QStringLiteral("%1:%2").arg(device.address).arg(device.port);
}

void AimRequest(VrSNMPRequest &request, const DeviceTarget &target)
{
    request.Address = target.device.address;
    request.Port = target.device.port;
    request.ContextEngineID = target.scope.contextEngineId;
    request.ContextName = target.scope.contextName;
    request.Version = target.security.version;
    request.ReadCommunity = target.security.readCommunity;
    request.WriteCommunity = target.security.writeCommunity;
    request.SecurityModel = target.security.securityModel;
    request.SecurityLevel = target.security.securityLevel;
    request.SecurityName = target.security.securityName;
    request.AuthPassword = target.security.authPassword;
    request.PrivPassword = target.security.privPassword;
    request.AuthProtocol = target.security.authProtocol;
    request.PrivProtocol = target.security.privProtocol;
}
