#include "ServiceTables.h"

#include "VrOptionList.h"
#include "VrSNMPObjectTable.h"

// Flags: 0x01 table key, 0x02 read, 0x04 write.
#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kApModeDef[] = {
    {1, "Access Point"}, {2, "WDS With AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kPriorityDef[] = {
    {3, "Background(BK)"}, {2, "Best Effort(BE)"}, {1, "Video(VI)"}, {0, "Voice(VO)"}, {0, nullptr}};
const VrOptionNumDef kProtocolDef[] = {{0, "Any"}, {1, "TCP"}, {2, "UDP"}, {3, "Both"},
                                       {4, "ICMP"}, {5, "Other"}, {0, nullptr}};
const VrOptionNumDef kOffOnDef[] = {{0, "Off"}, {1, "On"}, {0, nullptr}};
const VrOptionNumDef kWanTypeDef[] = {
    {1, "Static IP"}, {2, "Dynamic IP(DHCP)"}, {3, "PPPoE"}, {4, "PPTP"}, {0, nullptr}};
const VrOptionNumDef kManualModeDef[] = {{1, "Connected"}, {2, "Disconnected"}, {0, nullptr}};
const VrOptionNumDef kPppoeModeDef[] = {{2, "Dynamic PPPoE"}, {1, "Static PPPoE"}, {0, nullptr}};
const VrOptionNumDef kGetDnsDef[] = {{1, "Receive DNS from ISP"}, {0, "Enter DNS Manually"}, {0, nullptr}};
const VrOptionNumDef kConnectModeDef[] = {{1, "Always"}, {2, "Manual"}, {3, "Ondemand"}, {0, nullptr}};
const VrOptionNumDef kPptpModeDef[] = {{1, "Static"}, {2, "Dynamic"}, {0, nullptr}};

VrOptionList gApMode(kApModeDef);
VrOptionList gDisEn(kDisEnDef);
VrOptionList gPriority(kPriorityDef);
VrOptionList gProtocol(kProtocolDef);
VrOptionList gOffOn(kOffOnDef);
VrOptionList gWanType(kWanTypeDef);
VrOptionList gManualMode(kManualModeDef);
VrOptionList gPppoeMode(kPppoeModeDef);
VrOptionList gGetDns(kGetDnsDef);
VrOptionList gConnectMode(kConnectModeDef);
VrOptionList gPptpMode(kPptpModeDef);

constexpr int kInt = VrSyntaxInteger;
constexpr int kIp = VrSyntaxIpAddress;
constexpr int kText = VrSyntaxDisplayString;

} // namespace

VrOptionList *QosStateOptions() { return &gDisEn; }
QString QosRuleStateOid(int row) { return QStringLiteral(P "3.3.6.2.5.1.2.%1").arg(row); }

const VrSNMPVarDef kQosApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x06, &gApMode), VarEnd};
const VrSNMPVarDef kQosStatusVars[] = {VarDef(P "3.3.6.1", "dot11QosStatus", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kQosClassifierVars[] = {
    VarDef(P "3.3.6.2.1", "dot11QosHttp", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.6.2.2", "dot11QosAutomatic", kInt, 0x06, &gDisEn),
    VarEnd};
const VrSNMPVarDef kQosDeleteVars[] = {VarDef(P "3.3.6.2.4", "dot11QosRulesDelete", kInt, 0x04), VarEnd};
#define QOS(arc, name, syntax, options) VarDef(P "3.3.6.2.5.1." #arc, name, syntax, 0x06, options)
const VrSNMPVarDef kQosRuleVars[] = {
    VarDef(P "3.3.6.2.5.1.1", "dot11QosRulesIndex", kInt, 0x01),
    QOS(2, "dot11QosRulesState", kInt, &gDisEn),
    QOS(3, "dot11QosRulesName", kText, nullptr),
    QOS(4, "dot11QosRulespriority", kInt, &gPriority),
    QOS(5, "dot11QosRulesProtocol", kInt, nullptr),
    QOS(6, "dot11QosRulesProtocolType", kInt, &gProtocol),
    QOS(7, "dot11QosRulesHostOneIpStart", kIp, nullptr),
    QOS(8, "dot11QosRulesHostOneIpEnd", kIp, nullptr),
    QOS(9, "dot11QosRulesHostOneIpRange", kInt, nullptr),
    QOS(10, "dot11QosRulesHostOnePortStart", kInt, nullptr),
    QOS(11, "dot11QosRulesHostOnePortEnd", kInt, nullptr),
    QOS(12, "dot11QosRulesHostOnePortRange", kInt, nullptr),
    QOS(13, "dot11QosRulesHostTwoIpStart", kIp, nullptr),
    QOS(14, "dot11QosRulesHostTwoIpEnd", kIp, nullptr),
    QOS(15, "dot11QosRulesHostTwoIpRange", kInt, nullptr),
    QOS(16, "dot11QosRulesHostTwoPortStart", kInt, nullptr),
    QOS(17, "dot11QosRulesHostTwoPortEnd", kInt, nullptr),
    QOS(18, "dot11QosRulesHostTwoPortRange", kInt, nullptr),
    VarEnd};
#undef QOS

const VrSNMPVarDef kSchStatusVars[] = {VarDef(P "4.11.2.1.2.1", "schedulingStatus", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kSchDeleteVars[] = {VarDef(P "4.11.1", "schedulingDelete", kInt, 0x04), VarEnd};
const VrSNMPVarDef kSchRuleVars[] = {
    VarDef(P "4.11.2.1.1", "schedulingIndex", kInt, 0x01),
    VarDef(P "4.11.2.1.3", "schedulingName", kText, 0x06),
    VarDef(P "4.11.2.1.4", "schedulingDay", kInt, 0x06),
    VarDef(P "4.11.2.1.5", "schedulingAllDay", kInt, 0x06, &gDisEn),
    VarDef(P "4.11.2.1.6", "schedulingStartTime", kText, 0x06),
    VarDef(P "4.11.2.1.7", "schedulingEndTime", kText, 0x06),
    VarDef(P "4.11.2.1.8", "schedulingWireless", kInt, 0x06, &gOffOn),
    VarDef(P "4.11.2.1.9", "schedulingNodeStatus", kInt, 0x06, &gDisEn),
    VarEnd};
const VrSNMPVarDef kSchNodeStateVars[] = {
    VarDef(P "4.11.2.1.9.1", "schedulingNodeStatus", kInt, 0x06, &gDisEn),
    VarDef(P "4.11.2.1.9.2", "schedulingNodeStatus", kInt, 0x06, &gDisEn),
    VarDef(P "4.11.2.1.9.3", "schedulingNodeStatus", kInt, 0x06, &gDisEn),
    VarDef(P "4.11.2.1.9.4", "schedulingNodeStatus", kInt, 0x06, &gDisEn),
    VarEnd};

const VrSNMPVarDef kWanTypeVars[] = {VarDef(P "2.2.1.1.1.1.3.2", "ipType", kInt, 0x06, &gWanType), VarEnd};
const VrSNMPVarDef kWanManualModeVars[] = {
    VarDef(P "2.2.1.1.2.1.17.1", "ipInformationPppoeManualMode", kInt, 0x06, &gManualMode), VarEnd};
const VrSNMPVarDef kWanLanVars[] = {
    VarDef(P "2.2.1.1.1.1.7.1", "ipInformationIp", kIp, 0x02),
    VarDef(P "2.2.1.1.1.1.8.1", "ipInformationMask", kIp, 0x02),
    VarEnd};
const VrSNMPVarDef kWanAddressVars[] = {
    VarDef(P "2.2.1.1.1.1.7.2", "ipInformationIp", kIp, 0x06),
    VarDef(P "2.2.1.1.1.1.8.2", "ipInformationMask", kIp, 0x06),
    VarDef(P "2.2.1.1.1.1.9.2", "ipInformationGateway", kIp, 0x06),
    VarEnd};
#define WAN(arc, name, syntax, options) VarDef(P "2.2.1.1.2.1." #arc ".1", name, syntax, 0x06, options)
const VrSNMPVarDef kWanSettingVars[] = {
    VarDef(P "2.2.1.1.1.1.5.2", "ipPrimaryDNS", kIp, 0x06),
    VarDef(P "2.2.1.1.1.1.6.2", "ipSecordaryDNS", kIp, 0x06),
    WAN(1, "ipInformationDynamicHostName", kText, nullptr),
    WAN(2, "ipInformationPppoeMode", kInt, &gPppoeMode),
    WAN(3, "ipInformationPppoeUserName", kText, nullptr),
    WAN(4, "ipInformationPppoePassword", kText, nullptr),
    WAN(5, "ipInformationPppoeServiceName", kText, nullptr),
    WAN(6, "ipInformationPppoeIp", kIp, nullptr),
    WAN(7, "ipInformationPppoeGetDns", kInt, &gGetDns),
    WAN(8, "ipInformationPppoeConnectMode", kInt, &gConnectMode),
    WAN(9, "ipInformationPptpMode", kInt, &gPptpMode),
    WAN(10, "ipInformationPptpIp", kIp, nullptr),
    WAN(11, "ipInformationPptpMask", kIp, nullptr),
    WAN(12, "ipInformationPptpGateway", kIp, nullptr),
    WAN(13, "ipInformationPptpDns", kIp, nullptr),
    WAN(14, "ipInformationPptpServer", kText, nullptr),
    WAN(15, "ipInformationPptpAccount", kText, nullptr),
    WAN(16, "ipInformationPptpPassword", kText, nullptr),
    VarEnd};
#undef WAN
const VrSNMPVarDef kWanMtuVars[] = {
    VarDef(P "2.2.1.1.1.1.4.2", "ipMTU", kInt, 0x06),
    VarDef(P "2.2.1.1.1.1.4.2", "ipMTU", kInt, 0x06),
    VarDef(P "2.2.1.1.1.1.4.2", "ipMTU", kInt, 0x06),
    VarDef(P "2.2.1.1.1.1.4.2", "ipMTU", kInt, 0x06),
    VarEnd};
