#pragma once

#include "VrSNMPVarList.h"

// The objects the station pages read and write, one table per group.

// Client information and the MAC access list.
extern const VrSNMPVarDef kClientTriggerVars[];
extern const VrSNMPVarDef kBandVars[];
extern const VrSNMPVarDef kClientTableVars[];  // columns in Stations::ClientColumn order

// MAC access list.
extern const VrSNMPVarDef kApModeVars[];
extern const VrSNMPVarDef kAccessControlVars[];
extern const VrSNMPVarDef kAclAddVars[];
extern const VrSNMPVarDef kAclDeleteVars[];
extern const VrSNMPVarDef kAclTableVars[];     // index, MAC

// WDS information.
extern const VrSNMPVarDef kWdsApModeVars[];
extern const VrSNMPVarDef kWdsChannelVars[];   // channel, frequency
extern const VrSNMPVarDef kEncryptionVars[];
extern const VrSNMPVarDef kWdsTriggerVars[];
extern const VrSNMPVarDef kWdsTableVars[];     // columns in Stations::WdsColumn order

// Traffic statistics.
extern const VrSNMPVarDef kWlanCounterVars[];
extern const VrSNMPVarDef kWlanClearVars[];
extern const VrSNMPVarDef kEthernetCounterVars[];
extern const VrSNMPVarDef kEthernetClearVars[];

// Rogue AP detection.
extern const VrSNMPVarDef kRogueTriggerVars[];
extern const VrSNMPVarDef kRogueSurveyVars[];  // columns in Stations::SurveyColumn order
extern const VrSNMPVarDef kRogueValidVars[];
extern const VrSNMPVarDef kRogueNeighborVars[];
extern const VrSNMPVarDef kRogueRogueVars[];
extern const VrSNMPVarDef kRogueNewVars[];
extern const VrSNMPVarDef kRogueMarkAllVars[]; // all new as valid, unknown as rogue
