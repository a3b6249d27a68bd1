#include "NetworkTables.h"

#include "VrOptionList.h"
#include "VrSNMPObjectTable.h"

// Flags: 0x01 table key, 0x02 read, 0x04 write.
#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

// A device in its router operation reports 5: the LAN and DHCP pages apply
// their router rules at that entry's position.
const VrOptionNumDef kApModeDef[] = {
    {1, "Access Point"}, {2, "WDS with AP"}, {3, "WDS"}, {4, "Wireless Client"}, {5, "Router"}, {0, nullptr}};
const VrOptionNumDef kVlanApModeDef[] = {
    {1, "Access Point"}, {2, "WDS With AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionNumDef kIpTypeDef[] = {{1, "Static (Manual)"}, {2, "Dynamic (DHCP)"}, {0, nullptr}};
const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kDomainStatusDef[] = {{1, "dynamic"}, {2, "static"}, {0, nullptr}};
const VrOptionNumDef kRefreshDef[] = {{0, "nothing"}, {1, "refresh"}, {0, nullptr}};
const VrOptionNumDef kVlanModeDef[] = {{0, "static"}, {1, "dynamic"}, {0, nullptr}};
const VrOptionNumDef kMembershipDef[] = {{0, "none"}, {1, "tag"}, {2, "untag"}, {0, nullptr}};
const VrOptionNumDef kDeleteDef[] = {{0, "nothing"}, {1, "delete"}, {0, nullptr}};

VrOptionList gApMode(kApModeDef);
VrOptionList gVlanApMode(kVlanApModeDef);
VrOptionList gIpType(kIpTypeDef);
VrOptionList gDisEn(kDisEnDef);
VrOptionList gDomainStatus(kDomainStatusDef);
VrOptionList gRefresh(kRefreshDef);
VrOptionList gVlanMode(kVlanModeDef);
VrOptionList gMembership(kMembershipDef);
VrOptionList gDelete(kDeleteDef);

constexpr int kInt = VrSyntaxInteger;
constexpr int kIp = VrSyntaxIpAddress;
constexpr int kText = VrSyntaxDisplayString;
constexpr int kMac = VrSyntaxMacAddress;

} // namespace

const VrSNMPVarDef kLanApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x02, &gApMode), VarEnd};
const VrSNMPVarDef kLanIpTypeVars[] = {VarDef(P "2.2.1.1.1.1.3.1", "ipType", kInt, 0x06, &gIpType), VarEnd};
const VrSNMPVarDef kLanWanVars[] = {
    VarDef(P "2.2.1.1.1.1.7.2", "ipInformationIp", kIp, 0x02),
    VarDef(P "2.2.1.1.1.1.8.2", "ipInformationMask", kIp, 0x02),
    VarEnd};
const VrSNMPVarDef kLanAddressVars[] = {
    VarDef(P "2.2.1.1.1.1.7.1", "ipInformationIp", kIp, 0x06),
    VarDef(P "2.2.1.1.1.1.8.1", "ipInformationMask", kIp, 0x06),
    VarDef(P "2.2.1.1.1.1.9.1", "ipInformationGateway", kIp, 0x06),
    VarEnd};
const VrSNMPVarDef kLanPoolVars[] = {
    VarDef(P "3.3.1.2.2.1.2", "dynamicIpPoolStart", kIp, 0x02),
    VarDef(P "3.3.1.2.2.1.3", "dynamicIpPoolEnd", kIp, 0x02),
    VarEnd};

const VrSNMPVarDef kDhcpApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x02, &gApMode), VarEnd};
const VrSNMPVarDef kDhcpLanIpVars[] = {VarDef(P "2.2.1.1.1.1.7.1", "ipInformationIp", kIp, 0x02), VarEnd};
const VrSNMPVarDef kDhcpLanIfVars[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.36.2.1.1.1.1.2.1", "lanIfIpAddress", kIp, 0x02), VarEnd};
const VrSNMPVarDef kDhcpServerVars[] = {VarDef(P "3.3.1.1", "dhcpServerControl", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kDhcpStaticControlVars[] = {
    VarDef(P "3.3.1.3.1", "dhcpServerStaticControl", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kDhcpDomainStatusVars[] = {
    VarDef(P "3.3.1.2.3", "dhcpServerDomainNameStatus", kInt, 0x02, &gDomainStatus), VarEnd};
const VrSNMPVarDef kDhcpPoolVars[] = {
    VarDef(P "3.3.1.2.2.1.2.1", "dynamicIpPoolStart", kIp, 0x06),
    VarDef(P "3.3.1.2.2.1.3.1", "dynamicIpPoolEnd", kIp, 0x06),
    VarDef(P "3.3.1.2.2.1.4.1", "dynamicMask", kIp, 0x06),
    VarDef(P "3.3.1.2.2.1.5.1", "dynamicGateway", kIp, 0x06),
    VarDef(P "3.3.1.2.2.1.6.1", "dynamicWins", kIp, 0x06),
    VarDef(P "3.3.1.2.2.1.7.1", "dynamicDns", kIp, 0x06),
    VarDef(P "3.3.1.2.2.1.8.1", "dynamicDomainName", kText, 0x06),
    VarDef(P "3.3.1.2.2.1.9.1", "dynamicLeaseTime", kInt, 0x06),
    VarEnd};
const VrSNMPVarDef kDhcpStaticVars[] = {
    VarDef(P "3.3.1.3.3.1.1", "staticIndex", kInt, 0x01),
    VarDef(P "3.3.1.3.3.1.2", "staticEntryStatus", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.1.3.3.1.3", "staticHostName", kText, 0x06),
    VarDef(P "3.3.1.3.3.1.4", "staticIP", kIp, 0x06),
    VarDef(P "3.3.1.3.3.1.5", "staticMac", kMac, 0x06),
    VarDef(P "3.3.1.3.3.1.6", "staticMask", kIp, 0x06),
    VarDef(P "3.3.1.3.3.1.7", "staticGateway", kIp, 0x06),
    VarDef(P "3.3.1.3.3.1.8", "staticDns", kIp, 0x06),
    VarDef(P "3.3.1.3.3.1.9", "staticWins", kIp, 0x06),
    VarDef(P "3.3.1.3.3.1.10", "staticDomainName", kText, 0x06),
    VarEnd};
const VrSNMPVarDef kDhcpStaticDeleteVars[] = {VarDef(P "3.3.1.3.2", "dhcpServerStaticDelete", kInt, 0x04), VarEnd};
const VrSNMPVarDef kDhcpRefreshDynamicVars[] = {
    VarDef(P "3.3.1.4.1", "refreshCurrentDynamicList", kInt, 0x04, &gRefresh), VarEnd};
const VrSNMPVarDef kDhcpRefreshStaticVars[] = {
    VarDef(P "3.3.1.4.3", "refreshCurrentStaticList", kInt, 0x04, &gRefresh), VarEnd};
const VrSNMPVarDef kDhcpCurrentDynamicVars[] = {
    VarDef(P "3.3.1.4.2.1.1", "currentDynamicIndex", kInt, 0x01),
    VarDef(P "3.3.1.4.2.1.2", "Binding MAC Address", kMac, 0x02),
    VarDef(P "3.3.1.4.2.1.3", "Assigned IP Address ", kIp, 0x02),
    VarDef(P "3.3.1.4.2.1.4", "Lease time ", kText, 0x02),
    VarDef(P "3.3.1.4.2.1.5", "currentDynamicHostName", kText, 0x02),
    VarEnd};
const VrSNMPVarDef kDhcpCurrentStaticVars[] = {
    VarDef(P "3.3.1.4.4.1.1", "currentStaticIndex", kInt, 0x01),
    VarDef(P "3.3.1.4.4.1.2", "Binding MAC Address", kMac, 0x02),
    VarDef(P "3.3.1.4.4.1.3", "Assigned IP Address ", kIp, 0x02),
    VarDef(P "3.3.1.4.4.1.4", "currentStaticHostName", kText, 0x02),
    VarEnd};

const VrSNMPVarDef kVlanApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x02, &gVlanApMode), VarEnd};
const VrSNMPVarDef kVlanStatusVars[] = {
    VarDef(P "3.3.5.1.1", "dot11VlanStatus", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.5.1.2", "dot11VlanMode", kInt, 0x02, &gVlanMode),
    VarEnd};
const VrSNMPVarDef kVlanPvidAutoVars[] = {
    VarDef(P "3.3.5.2.1", "dot11PvidAutoAssignStatus", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kVlanPvidVars[] = {
    VarDef(P "3.3.5.2.2.1.2.1", "dot11PvidSettingMgmt", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.3.1", "dot11PvidSettingLan", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.4.1", "dot11PvidSettingPrimary", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.5.1", "dot11PvidSettingMssid1", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.6.1", "dot11PvidSettingMssid2", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.7.1", "dot11PvidSettingMssid3", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.12.1", "dot11PvidSettingWds1", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.13.1", "dot11PvidSettingWds2", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.14.1", "dot11PvidSettingWds3", kInt, 0x06),
    VarDef(P "3.3.5.2.2.1.15.1", "dot11PvidSettingWds4", kInt, 0x06),
    VarEnd};
const VrSNMPVarDef kVlanMssidVars[] = {
    VarDef(P "3.3.3.3.1.1", "dot11MssidIndex", kInt, 0x01),
    VarDef(P "3.3.3.3.1.3", "dot11MssidSsid", kText, 0x02),
    VarEnd};
const VrSNMPVarDef kVlanPortRefreshVars[] = {
    VarDef(P "3.3.5.3.1", "dot11PortListRefresh", kInt, 0x04, &gRefresh), VarEnd};
const VrSNMPVarDef kVlanPortListVars[] = {
    VarDef(P "3.3.5.3.2.1.1", "dot11PortListIndex", kInt, 0x01),
    VarDef(P "3.3.5.3.2.1.2", "dot11PortListTagVid", kText, 0x02),
    VarDef(P "3.3.5.3.2.1.3", "dot11PortListUntagVid", kText, 0x02),
    VarEnd};
#define PORT(arc, name) VarDef(P "3.3.5.1.3.1." #arc, name, kInt, 0x06, &gMembership)
const VrSNMPVarDef kVlanTableVars[] = {
    VarDef(P "3.3.5.1.3.1.1", "dot11GroupVlanListIndex", kInt, 0x01),
    VarDef(P "3.3.5.1.3.1.2", "dot11GroupVlanListVid", kInt, 0x06),
    VarDef(P "3.3.5.1.3.1.3", "dot11GroupVlanListName", kText, 0x06),
    PORT(4, "dot11GroupVlanListMgmt"), PORT(5, "dot11GroupVlanListLan"), PORT(6, "dot11GroupVlanListPrimary"),
    PORT(7, "dot11GroupVlanListMssid1"), PORT(8, "dot11GroupVlanListMssid2"), PORT(9, "dot11GroupVlanListMssid3"),
    PORT(10, "dot11GroupVlanListMssid4"), PORT(11, "dot11GroupVlanListMssid5"), PORT(12, "dot11GroupVlanListMssid6"),
    PORT(13, "dot11GroupVlanListMssid7"), PORT(14, "dot11GroupVlanListWds1"), PORT(15, "dot11GroupVlanListWds2"),
    PORT(16, "dot11GroupVlanListWds3"), PORT(17, "dot11GroupVlanListWds4"),
    VarDef(P "3.3.5.1.3.1.22", "dot11VlanListSurveydelete", kInt, 0x04, &gDelete),
    VarEnd};
#undef PORT
