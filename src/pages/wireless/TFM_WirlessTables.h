#pragma once

#include "VrSNMPVarList.h"

class VrOptionList;

// The objects of the wireless settings page, one definition table per group
// that the page reads or writes together, and the option lists they show.

extern const VrSNMPVarDef kWlCountryVars[];     // 0 country code
extern const VrSNMPVarDef kWlVlanVars[];        // 0 VLAN state
extern const VrSNMPVarDef kWlMssidTableVars[];  // multi-SSID table: 0 index, 1 state, 2 SSID, 3 authentication
extern const VrSNMPVarDef kWlBandVars[];        // 0 band
extern const VrSNMPVarDef kWlBasicVars[];       // see WlBasic
extern const VrSNMPVarDef kWlChannelDbVars[];   // 0 channel chosen by the auto scan
extern const VrSNMPVarDef kWlChannelListVars[]; // see WlChannelLists
extern const VrSNMPVarDef kWlWifiModeVars[];    // 0 radio mode
extern const VrSNMPVarDef kWlMssidStateVars[];  // 0 multi-SSID state
extern const VrSNMPVarDef kWlModeStatusVars[];  // 0 "changed" / "unchanged"
extern const VrSNMPVarDef kWlApModeVars[];      // 0 AP mode
extern const VrSNMPVarDef kWlPassphraseVars[];  // see WlPassphrase
extern const VrSNMPVarDef kWlRadiusVars[];      // see WlRadius
extern const VrSNMPVarDef kWlSecurityVars[];    // see WlSecurity
extern const VrSNMPVarDef *const kWlWepKeyVars[4]; // per key: 0 entry method, 1 key
extern const VrSNMPVarDef kWlWdsPeerVars[];     // 0..7 peer additions, 8 delete-all
extern const VrSNMPVarDef kWlWdsListVars[];     // peer table: 0 index, 1 MAC
extern const VrSNMPVarDef kWlSiteSurveyTriggerVars[];
extern const VrSNMPVarDef kWlSiteSurveyVars[];  // client survey table: index, CH, Signal, BSSID, Security, SSID
extern const VrSNMPVarDef kWlWdsSurveyTriggerVars[];
extern const VrSNMPVarDef kWlWdsSurveyVars[];   // WDS survey table, same columns
extern const VrSNMPVarDef kWlCloneVars[];       // see WlClone
extern const VrSNMPVarDef kWlCloneTriggerVars[];
extern const VrSNMPVarDef kWlCloneSurveyVars[]; // 0 index, 1 MAC

enum WlBasic { WlSsid, WlSsidBroadcast, WlChannel, WlChannelListA, WlAutoChannelScan, WlChannelWidth };
enum WlChannelLists { WlListG, WlListGWds, WlListOutdoor, WlApplication };
enum WlPassphrase { WlPassPhrase, WlCipherType, WlGroupKeyInterval };
enum WlRadius { WlRadiusServer, WlRadiusPort, WlRadiusSecret, WlNetProtect };
enum WlSecurity { WlAuthentication, WlKeyIndex, WlEncryption };
enum WlClone { WlCloneStatus, WlCloneSource, WlCloneMac };
enum WlSurvey { WlSurveyCh = 1, WlSurveySignal, WlSurveyBssid, WlSurveySecurity, WlSurveySsid };
inline constexpr int WlPeerCount = 8;
inline constexpr int WlVisiblePeers = 4; // the others keep peers the device holds beyond four
inline constexpr int WlPeerDeleteAll = 8;

// The operation mode of a device that runs as a router, as the AP mode
// option lists show it.
inline constexpr const char *WlRouterMode = "Router";

// Option lists that change with the band or the country.
const VrOptionList &WlApModeOptions(bool restricted); // restricted: "Access Point", "Wireless Client"
const VrOptionList &WlWifiModeOptions(bool band5);
