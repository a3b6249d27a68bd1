#pragma once

#include "VrSNMPVarList.h"

// The objects of the LAN, DHCP server and VLAN pages, one definition table
// per group that a page reads or writes together.

// LAN
extern const VrSNMPVarDef kLanApModeVars[];   // 0 AP mode
extern const VrSNMPVarDef kLanIpTypeVars[];   // 0 ipType of the LAN
extern const VrSNMPVarDef kLanWanVars[];      // 0 WAN address, 1 WAN mask
extern const VrSNMPVarDef kLanAddressVars[];  // see LanAddress
extern const VrSNMPVarDef kLanPoolVars[];     // 0 pool start, 1 pool end
enum LanAddress { LanIp, LanMask, LanGateway };

// DHCP server
extern const VrSNMPVarDef kDhcpApModeVars[];
extern const VrSNMPVarDef kDhcpLanIpVars[];
extern const VrSNMPVarDef kDhcpLanIfVars[];
extern const VrSNMPVarDef kDhcpServerVars[];
extern const VrSNMPVarDef kDhcpStaticControlVars[];
extern const VrSNMPVarDef kDhcpDomainStatusVars[];
extern const VrSNMPVarDef kDhcpPoolVars[];        // see DhcpPool
extern const VrSNMPVarDef kDhcpStaticVars[];      // see DhcpStatic (a table)
extern const VrSNMPVarDef kDhcpStaticDeleteVars[];
extern const VrSNMPVarDef kDhcpRefreshDynamicVars[];
extern const VrSNMPVarDef kDhcpRefreshStaticVars[];
extern const VrSNMPVarDef kDhcpCurrentDynamicVars[]; // 0 index, 1 MAC, 2 IP, 3 lease, 4 host
extern const VrSNMPVarDef kDhcpCurrentStaticVars[];  // 0 index, 1 MAC, 2 IP, 3 host
enum DhcpPool { PoolStart, PoolEnd, PoolMask, PoolGateway, PoolWins, PoolDns, PoolDomain, PoolLease };
enum DhcpStatic {
    StIndex, StStatus, StHostName, StIp, StMac, StMask, StGateway, StDns, StWins, StDomain
};

// VLAN
extern const VrSNMPVarDef kVlanApModeVars[];
extern const VrSNMPVarDef kVlanStatusVars[];     // 0 status, 1 mode
extern const VrSNMPVarDef kVlanPvidAutoVars[];
extern const VrSNMPVarDef kVlanPvidVars[];       // ten PVIDs in port order
extern const VrSNMPVarDef kVlanMssidVars[];      // 0 index, 1 SSID
extern const VrSNMPVarDef kVlanPortRefreshVars[];
extern const VrSNMPVarDef kVlanPortListVars[];   // 0 index, 1 tagged VIDs, 2 untagged VIDs
extern const VrSNMPVarDef kVlanTableVars[];      // see VlanTable
enum VlanTable { VlIndex, VlVid, VlName, VlFirstPort, VlDelete = VlFirstPort + 14 };
