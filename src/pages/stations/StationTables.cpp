#include "StationTables.h"

#include "VrOptionList.h"
#include "VrSNMPObjectTable.h"

// Flags: 0x02 read, 0x04 write, 0x06 read-write.
#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kGetDef[] = {{0, "nothing"}, {1, "get"}, {0, nullptr}};
const VrOptionNumDef kRefreshDef[] = {{0, "nothing"}, {1, "refresh"}, {0, nullptr}};
const VrOptionNumDef kClearDef[] = {{0, "nothing"}, {1, "clear"}, {0, nullptr}};
const VrOptionNumDef kBandDef[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
const VrOptionNumDef kApModeDef[] = {
    {1, "Access Point"}, {2, "WDS With AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionNumDef kWdsApModeDef[] = {
    {1, "Access Point"}, {2, "WDS with AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionNumDef kAccessControlDef[] = {{1, "Accept"}, {2, "Reject"}, {3, "Disable"}, {0, nullptr}};
const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};

VrOptionList gGet(kGetDef);
VrOptionList gRefresh(kRefreshDef);
VrOptionList gClear(kClearDef);
VrOptionList gBand(kBandDef);
VrOptionList gApMode(kApModeDef);
VrOptionList gWdsApMode(kWdsApModeDef);
VrOptionList gAccessControl(kAccessControlDef);
VrOptionList gDisEn(kDisEnDef);

constexpr int kInt = VrSyntaxInteger;
constexpr int kText = VrSyntaxDisplayString;
constexpr int kMac = VrSyntaxMacAddress;
constexpr int kTicks = VrSyntaxTimeTicks;
// The device sends its counters as INTEGER; read as 64-bit counters they
// come out unsigned whatever type arrives.
constexpr int kCount = VrSyntaxCounter64;

} // namespace

const VrSNMPVarDef kClientTriggerVars[] = {
    VarDef(P "2.1.3.4.1.1.1.1", "dot11ClientInformationRefresh", kInt, 0x04, &gGet), VarEnd};
const VrSNMPVarDef kBandVars[] = {VarDef(P "2.1.3.2.1.1.24.1", "dot11Band", kInt, 0x06, &gBand), VarEnd};
const VrSNMPVarDef kClientTableVars[] = {
    VarDef(P "2.1.3.4.2.1.1", "dot11ClinetIndex", kInt, 0x02),
    VarDef(P "2.1.3.4.2.1.2", "dot11ClientMacAddress", kMac, 0x02),
    VarDef(P "2.1.3.4.2.1.3", "dot11ClientBand", kInt, 0x02),
    VarDef(P "2.1.3.4.2.1.4", "dot11ClientAuthentication", kInt, 0x02),
    VarDef(P "2.1.3.4.2.1.5", "dot11ClientRssi", kInt, 0x02),
    VarDef(P "2.1.3.4.2.1.6", "dot11ClientPsm", kInt, 0x02),
    VarDef(P "2.1.3.4.2.1.7", "dot11SSIDIndex", kText, 0x02),
    VarDef(P "2.1.3.4.2.1.8", "dot11ClientUptime", kTicks, 0x02),
    VarDef(P "2.1.3.4.2.1.9", "dot11ActiveTime", kTicks, 0x02),
    VarEnd};

const VrSNMPVarDef kApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x02, &gApMode), VarEnd};
const VrSNMPVarDef kAccessControlVars[] = {
    VarDef(P "2.1.3.3.3.2.1.1.1", "dot11MacAccessControl", kInt, 0x06, &gAccessControl), VarEnd};
const VrSNMPVarDef kAclAddVars[] = {
    VarDef(P "2.1.3.3.3.2.1.2.1", "dot11MacAccessControlMacAddressAdd", kMac, 0x04), VarEnd};
const VrSNMPVarDef kAclDeleteVars[] = {
    VarDef(P "2.1.3.3.3.2.1.3.1", "dot11MacAccessControlMacAddressDelete", kMac, 0x04), VarEnd};
const VrSNMPVarDef kAclTableVars[] = {
    VarDef(P "2.1.3.3.3.3.1.1", "ID", kInt, 0x02),
    VarDef(P "2.1.3.3.3.3.1.2", "MAC Address", kMac, 0x02),
    VarEnd};

const VrSNMPVarDef kWdsApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x02, &gWdsApMode), VarEnd};
const VrSNMPVarDef kWdsChannelVars[] = {
    VarDef(P "2.1.3.2.1.1.3.1", "dot11Channel", kInt, 0x02),
    VarDef(P "2.1.3.2.1.1.7.1", "dot11Frequency", kText, 0x02),
    VarEnd};
const VrSNMPVarDef kEncryptionVars[] = {
    VarDef(P "2.1.3.3.1.1.2.1", "dot11Encryption", kInt, 0x02, &gDisEn), VarEnd};
const VrSNMPVarDef kWdsTriggerVars[] = {VarDef(P "2.1.3.5.1.1.1.1", "dot11WdsRefresh", kInt, 0x04, &gGet), VarEnd};
const VrSNMPVarDef kWdsTableVars[] = {
    VarDef(P "2.1.3.5.2.1.1", "dot11WdsIndex", kInt, 0x02),
    VarDef(P "2.1.3.5.2.1.2", "dot11WdsMacAddress", kMac, 0x02),
    VarDef(P "2.1.3.5.2.1.3", "dot11WdsBand", kInt, 0x02),
    VarDef(P "2.1.3.5.2.1.4", "dot11WdsAuthentication", kInt, 0x02),
    VarDef(P "2.1.3.5.2.1.5", "dot11WdsRssi", kInt, 0x02),
    VarDef(P "2.1.3.5.2.1.6", "dot11WdsPsm", kInt, 0x02),
    VarDef(P "2.1.3.5.2.1.7", "dot11WdsSsidIndex", kText, 0x02),
    VarDef(P "2.1.3.5.2.1.8", "dot11WdsConnected", kInt, 0x02),
    VarDef(P "2.1.3.5.2.1.9", "dot11WdsStatus", kText, 0x02),
    VarEnd};

#define S "5.2.2.1.1.1."
const VrSNMPVarDef kWlanCounterVars[] = {
    VarDef(P S "3.1", "dot11TransmittedPacketCount", kCount, 0x02),
    VarDef(P S "4.1", "dot11TransmittedBytesCount", kCount, 0x02),
    VarDef(P S "5.1", "dot11TransmittedDroppedPacketCount", kCount, 0x02),
    VarDef(P S "6.1", "dot11TransmittedRetryCount", kCount, 0x02),
    VarDef(P S "9.1", "dot11ReceivedPacketCount", kCount, 0x02),
    VarDef(P S "10.1", "dot11ReceivedBytesCount", kCount, 0x02),
    VarDef(P S "11.1", "dot11ReceivedDroppedPacketCount", kCount, 0x02),
    VarDef(P S "12.1", "dot11ReceivedCRCCount", kCount, 0x02),
    VarDef(P S "13.1", "dot11ReceivedDecryptionErrorCount", kCount, 0x02),
    VarDef(P S "14.1", "dot11ReceivedMICErrorCount", kCount, 0x02),
    VarDef(P S "15.1", "dot11ReceivedPHYErrorCount", kCount, 0x02),
    VarEnd};
const VrSNMPVarDef kWlanClearVars[] = {VarDef(P S "16.1", "dot11TrafficStatisticsClear", kInt, 0x04, &gClear), VarEnd};
#undef S
#define S "5.2.1.1.1.1."
const VrSNMPVarDef kEthernetCounterVars[] = {
    VarDef(P S "1.1", "dot3TransmittedPacketCount", kCount, 0x02),
    VarDef(P S "2.1", "dot3TransmittedBytesCount", kCount, 0x02),
    VarDef(P S "3.1", "dot3TransmittedDroppedPacketCount", kCount, 0x02),
    VarDef(P S "4.1", "dot3ReceivedPacketCount", kCount, 0x02),
    VarDef(P S "5.1", "dot3ReceivedBytesCount", kCount, 0x02),
    VarDef(P S "6.1", "dot3ReceivedDroppedPacketCount", kCount, 0x02),
    VarEnd};
const VrSNMPVarDef kEthernetClearVars[] = {VarDef(P S "16.1", "dot3Clear", kInt, 0x04, &gClear), VarEnd};
#undef S

#define R "3.3.4.1."
const VrSNMPVarDef kRogueTriggerVars[] = {VarDef(P R "1.0", "dot11RogueApSurveyRefresh", kInt, 0x04, &gRefresh), VarEnd};
const VrSNMPVarDef kRogueSurveyVars[] = {
    VarDef(P R "8.1.1", "dot11RogueApSurveyIndex", kInt, 0x02),
    VarDef(P R "8.1.2", "dot11RogueApSurveyChannel", kInt, 0x02),
    VarDef(P R "8.1.3", "dot11RogueApSurveyBssid", kMac, 0x02),
    VarDef(P R "8.1.4", "dot11RogueApSurveyMode", kInt, 0x02),
    VarDef(P R "8.1.5", "dot11RogueApSurveySsid", kText, 0x02),
    VarDef(P R "8.1.6", "dot11RogueApSurveyLastseem", kText, 0x02),
    VarDef(P R "8.1.7", "dot11RogueApSurveyType", kInt, 0x02),
    VarDef(P R "8.1.8", "dot11RogueApSurveyStatus", kInt, 0x02),
    VarEnd};
const VrSNMPVarDef kRogueValidVars[] = {VarDef(P R "2.0", "dot11RogueApAddtoValid", kInt, 0x04), VarEnd};
const VrSNMPVarDef kRogueNeighborVars[] = {VarDef(P R "3.0", "dot11RogueApAddtoNeighbor", kInt, 0x04), VarEnd};
const VrSNMPVarDef kRogueRogueVars[] = {VarDef(P R "4.0", "dot11RogueApAddtoRouge", kInt, 0x04), VarEnd};
const VrSNMPVarDef kRogueNewVars[] = {VarDef(P R "5.0", "dot11RogueApAddtoNew", kInt, 0x04), VarEnd};
const VrSNMPVarDef kRogueMarkAllVars[] = {
    VarDef(P R "6.0", "dot11RogueApAllNewNodesAsValid", kInt, 0x06, &gDisEn),
    VarDef(P R "7.0", "dot11RogueApUnknownAccessNodesAsRogue", kInt, 0x06, &gDisEn),
    VarEnd};
#undef R
