#pragma once
// One device and how to reach it, for tools that manage several at once.
#include "VrSNMPTarget.h"

class VrSNMPRequest;

struct DeviceTarget {
    VrSNMPDevice device;
    VrSNMPScope scope;
    VrSNMPSecurity security;

    // The global records as start-up left them.
    static DeviceTarget FromGlobals();
    // "address" or "address:port" when the port is not the standard one.
    QString Label() const;
};

// Points the request at the target (a request otherwise copies the globals).
void AimRequest(VrSNMPRequest &request, const DeviceTarget &target);
