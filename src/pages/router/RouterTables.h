#pragma once

#include "VrSNMPVarList.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcRouter)

// The objects the router pages read and write, one table per group.

// Parental control.
extern const VrSNMPVarDef kParentalStatusVars[];
extern const VrSNMPVarDef kParentalUrlVars[];     // index, URL
extern const VrSNMPVarDef kParentalAddVars[];
extern const VrSNMPVarDef kParentalDeleteVars[];
enum ParentalColumn { UrlIndex, UrlText };

// Port forwarding.
extern const VrSNMPVarDef kRouterAddressVars[];
extern const VrSNMPVarDef kPortForwardVars[];
extern const VrSNMPVarDef kPortForwardDeleteVars[];
enum PortForwardColumn { PfIndex, PfName, PfIp, PfPublicStart, PfPublicEnd, PfPrivateStart, PfPrivateEnd, PfType };

// MAC filter.
extern const VrSNMPVarDef kMacFilterStatusVars[];
extern const VrSNMPVarDef kMacFilterListVars[];  // index, MAC
extern const VrSNMPVarDef kMacFilterAddVars[];
extern const VrSNMPVarDef kMacFilterDeleteVars[];
enum MacFilterColumn { MacIndex, MacAddress };

// Firewall and DMZ.
extern const VrSNMPVarDef kDmzVars[];            // status, address
extern const VrSNMPVarDef kSpiVars[];
extern const VrSNMPVarDef kFirewallRuleVars[];
extern const VrSNMPVarDef kFirewallDeleteVars[];
enum DmzItem { DmzStatus, DmzIp };
enum FirewallColumn {
    FwIndex, FwName, FwSourceInterface, FwSourceStart, FwSourceEnd, FwProtocol, FwAction,
    FwDestInterface, FwDestStart, FwDestEnd, FwPortStart, FwPortEnd
};

// Advanced network.
extern const VrSNMPVarDef kUpnpVars[];
extern const VrSNMPVarDef kWanPingVars[];
