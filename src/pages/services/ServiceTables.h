#pragma once

#include "VrSNMPVarList.h"

// The objects of the QoS, schedule and Internet connection pages, one
// definition table per group that a page reads or writes together.

// QoS
extern const VrSNMPVarDef kQosApModeVars[];
extern const VrSNMPVarDef kQosStatusVars[];
extern const VrSNMPVarDef kQosClassifierVars[]; // 0 HTTP, 1 automatic
extern const VrSNMPVarDef kQosDeleteVars[];
extern const VrSNMPVarDef kQosRuleVars[];       // see QosColumn
VrOptionList *QosStateOptions();
// The OID of a rule's state (rule k = row k of the table).
QString QosRuleStateOid(int row);

// Schedule
extern const VrSNMPVarDef kSchStatusVars[];
extern const VrSNMPVarDef kSchDeleteVars[];
extern const VrSNMPVarDef kSchRuleVars[];       // see ScheduleColumn
extern const VrSNMPVarDef kSchNodeStateVars[];  // rows 1..4
enum ScheduleColumn { ScIndex, ScName, ScDay, ScAllDay, ScStart, ScEnd, ScWireless, ScNodeState, ScCount };

// Internet connection
extern const VrSNMPVarDef kWanTypeVars[];
extern const VrSNMPVarDef kWanManualModeVars[];
extern const VrSNMPVarDef kWanLanVars[];        // 0 LAN address, 1 LAN mask
extern const VrSNMPVarDef kWanAddressVars[];    // 0 address, 1 mask, 2 gateway
extern const VrSNMPVarDef kWanSettingVars[];    // see WanSetting (ServiceRules.h)
extern const VrSNMPVarDef kWanMtuVars[];        // one item per type, static first
