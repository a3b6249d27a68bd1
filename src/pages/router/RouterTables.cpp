#include "RouterTables.h"

#include "VrOptionList.h"
#include "VrSNMPObjectTable.h"

Q_LOGGING_CATEGORY(lcRouter, "qrt.pages.router")

// Flags: 0x01 key, 0x02 read, 0x04 write, 0x06 read-write.
#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kParentalDef[] = {{0, "Disable"}, {1, "Allow"}, {2, "Deny"}, {0, nullptr}};
const VrOptionNumDef kTrafficDef[] = {{0, "ANY"}, {1, "TCP"}, {2, "UDP"}, {0, nullptr}};
const VrOptionNumDef kMacFilterDef[] = {{0, "Disable"}, {1, "Accept"}, {2, "Reject"}, {0, nullptr}};
const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kSourceDef[] = {{0, "Source"}, {1, "LAN"}, {2, "WAN"}, {0, nullptr}};
const VrOptionNumDef kDestDef[] = {{0, "Dest"}, {1, "LAN"}, {2, "WAN"}, {0, nullptr}};
const VrOptionNumDef kProtocolDef[] = {{1, "ALL"}, {2, "TCP"}, {3, "UDP"}, {4, "ICMP"}, {0, nullptr}};
const VrOptionNumDef kActionDef[] = {{1, "Allow"}, {0, "Deny"}, {0, nullptr}};

VrOptionList gParental(kParentalDef);
VrOptionList gTraffic(kTrafficDef);
VrOptionList gMacFilter(kMacFilterDef);
VrOptionList gDisEn(kDisEnDef);
VrOptionList gSource(kSourceDef);
VrOptionList gDest(kDestDef);
VrOptionList gProtocol(kProtocolDef);
VrOptionList gAction(kActionDef);

constexpr int kInt = VrSyntaxInteger;
constexpr int kText = VrSyntaxDisplayString;
constexpr int kIp = VrSyntaxIpAddress;
constexpr int kMac = VrSyntaxMacAddress;

} // namespace

const VrSNMPVarDef kParentalStatusVars[] = {
    VarDef(P "3.2.1.1.1.1.1", "parantalControlStatus", kInt, 0x06, &gParental), VarEnd};
const VrSNMPVarDef kParentalUrlVars[] = {
    VarDef(P "3.2.1.2.1.1", "ID", kInt, 0x01),
    VarDef(P "3.2.1.2.1.2", "Website URL", kText, 0x02),
    VarEnd};
const VrSNMPVarDef kParentalAddVars[] = {VarDef(P "3.2.1.1.1.2.1", "parantalControlUrlAdd", kText, 0x04), VarEnd};
const VrSNMPVarDef kParentalDeleteVars[] = {
    VarDef(P "3.2.1.1.1.3.1", "parantalControlUrlDelete", kInt, 0x04), VarEnd};

const VrSNMPVarDef kRouterAddressVars[] = {VarDef(P "5.1.4.1.1.2.1", "ifIpAddress", kIp, 0x02), VarEnd};
const VrSNMPVarDef kPortForwardVars[] = {
    VarDef(P "3.1.1.2.1.1", "portForwardingIndex", kInt, 0x01),
    VarDef(P "3.1.1.2.1.2", "portForwardingName", kText, 0x06),
    VarDef(P "3.1.1.2.1.3", "portForwardingIP", kIp, 0x06),
    VarDef(P "3.1.1.2.1.4", "portForwardingPublicPortStart", kInt, 0x06),
    VarDef(P "3.1.1.2.1.5", "portForwardingPubilcPortEnd", kInt, 0x06),
    VarDef(P "3.1.1.2.1.6", "portForwardingPrivatePortStart", kInt, 0x06),
    VarDef(P "3.1.1.2.1.7", "portForwardingPrivatePortEnd", kInt, 0x06),
    VarDef(P "3.1.1.2.1.8", "portForwardingTrafficType", kInt, 0x06, &gTraffic),
    VarEnd};
const VrSNMPVarDef kPortForwardDeleteVars[] = {
    VarDef(P "3.1.1.1", "portForwardingRuleDelete", kInt, 0x04), VarEnd};

const VrSNMPVarDef kMacFilterStatusVars[] = {
    VarDef(P "3.2.2.1.1.1.1", "macAccessControlFilterControlStatus", kInt, 0x06, &gMacFilter), VarEnd};
const VrSNMPVarDef kMacFilterListVars[] = {
    VarDef(P "3.2.2.2.1.1", "ID", kInt, 0x01),
    VarDef(P "3.2.2.2.1.2", "MAC Address", kMac, 0x02),
    VarEnd};
const VrSNMPVarDef kMacFilterAddVars[] = {
    VarDef(P "3.2.2.1.1.2.1", "macAccessControlFilterMacAddressAdd", kMac, 0x04), VarEnd};
const VrSNMPVarDef kMacFilterDeleteVars[] = {
    VarDef(P "3.2.2.1.1.3.1", "macAccessControlFilterMacAddressDelete", kMac, 0x04), VarEnd};

const VrSNMPVarDef kDmzVars[] = {
    VarDef(P "3.1.2.1", "dmzStatus", kInt, 0x06, &gDisEn),
    VarDef(P "3.1.2.2", "dmzIp", kIp, 0x06),
    VarEnd};
const VrSNMPVarDef kSpiVars[] = {VarDef(P "3.2.3.1.1", "firewallSettingStatus", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kFirewallRuleVars[] = {
    VarDef(P "3.2.3.1.3.1.1", "firewallRulesIndex", kInt, 0x01),
    VarDef(P "3.2.3.1.3.1.2", "firewallName", kText, 0x06),
    VarDef(P "3.2.3.1.3.1.3", "firewallSourceInterface", kInt, 0x06, &gSource),
    VarDef(P "3.2.3.1.3.1.4", "firewallSouceStartIp", kIp, 0x06),
    VarDef(P "3.2.3.1.3.1.5", "firewallSouceEndIp", kIp, 0x06),
    VarDef(P "3.2.3.1.3.1.6", "firewallProtocol", kInt, 0x06, &gProtocol),
    VarDef(P "3.2.3.1.3.1.7", "firewallAction", kInt, 0x06, &gAction),
    VarDef(P "3.2.3.1.3.1.8", "firewallInterface", kInt, 0x06, &gDest),
    VarDef(P "3.2.3.1.3.1.9", "firewallDestStartIp", kIp, 0x06),
    VarDef(P "3.2.3.1.3.1.10", "firewallDestEndIp", kIp, 0x06),
    VarDef(P "3.2.3.1.3.1.11", "firewallStartPort", kInt, 0x06),
    VarDef(P "3.2.3.1.3.1.12", "firewallEndPort", kInt, 0x06),
    VarEnd};
const VrSNMPVarDef kFirewallDeleteVars[] = {
    VarDef(P "3.2.3.1.2", "fireWallSettingRuleDelete", kInt, 0x04), VarEnd};

const VrSNMPVarDef kUpnpVars[] = {VarDef(P "3.3.7.1", "upnpControlStatus", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kWanPingVars[] = {
    VarDef(P "3.3.8.1", "wanPingRespondControlStatus", kInt, 0x06, &gDisEn), VarEnd};
