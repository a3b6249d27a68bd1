#include "TFM_WirlessTables.h"

#include "VrOptionList.h"
#include "VrSNMPObjectTable.h"

// Flags: 0x02 read, 0x04 write, 0x06 read-write, 0x01 table key; 0x20 marks
// an object left out of the exchanges until the page takes it in.
#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kBandDef[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
const VrOptionNumDef kWidthDef[] = {{1, "20MHz"}, {2, "Auto 20/40 MHz"}, {0, nullptr}};
const VrOptionNumDef kApplicationDef[] = {{0, "disable"}, {1, "indoor"}, {2, "outdoor"}, {0, nullptr}};
const VrOptionNumDef kWifi24Def[] = {
    {6, "Mixed 802.11n,802.11g and 802.11b"}, {3, "Mixed 802.11g and 802.11b"}, {2, "802.11n Only"}, {0, nullptr}};
const VrOptionNumDef kWifi5Def[] = {
    {9, "Mixed 802.11n and 802.11a"}, {7, "802.11a Only"}, {8, "802.11n Only"}, {0, nullptr}};
// The router operation (5) is no mode this page sets: it is named so that a
// device in it is shown as it is.
const VrOptionNumDef kApModeDef[] = {
    {1, "Access Point"}, {2, "WDS with AP"}, {3, "WDS"}, {4, "Wireless Client"}, {5, "Router"}, {0, nullptr}};
const VrOptionNumDef kApModeRestrictedDef[] = {
    {1, "Access Point"}, {4, "Wireless Client"}, {5, "Router"}, {0, nullptr}};
const VrOptionNumDef kCipherDef[] = {{1, "auto"}, {2, "aes"}, {3, "tkip"}, {4, "wep"}, {0, nullptr}};
const VrOptionNumDef kAuthDef[] = {
    {1, "opensystem"}, {2, "sharedkey"}, {3, "wpa-psk"}, {4, "wpa-eap"}, {5, "wpa2-psk"},
    {6, "wpa2-eap"}, {7, "wpa-auto-psk"}, {8, "wpa-auto-eap"}, {9, "dot1x(10)"}, {0, nullptr}};
const VrOptionNumDef kKeyIndexDef[] = {{1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"}, {0, nullptr}};
const VrOptionNumDef kKeyTypeDef[] = {{1, "ASCII"}, {2, "HEX"}, {0, nullptr}};
const VrOptionNumDef kDeleteAllDef[] = {{0, "nothing"}, {1, "deleteall"}, {0, nullptr}};
const VrOptionNumDef kRefreshDef[] = {{0, "nothing"}, {1, "refresh"}, {0, nullptr}};
const VrOptionNumDef kCloneSourceDef[] = {{1, "Auto"}, {2, "Manual"}, {0, nullptr}};
const VrOptionNumDef kCloneRefreshDef[] = {{0, "Nothing"}, {1, "Refresh"}, {0, nullptr}};

// Shared by every binder of the page for the life of the program.
VrOptionList gDisEn(kDisEnDef);
VrOptionList gBand(kBandDef);
VrOptionList gWidth(kWidthDef);
VrOptionList gApplication(kApplicationDef);
VrOptionList gWifi24(kWifi24Def);
VrOptionList gWifi5(kWifi5Def);
VrOptionList gApMode(kApModeDef);
VrOptionList gApModeRestricted(kApModeRestrictedDef);
VrOptionList gCipher(kCipherDef);
VrOptionList gAuth(kAuthDef);
VrOptionList gKeyIndex(kKeyIndexDef);
VrOptionList gKeyType(kKeyTypeDef);
VrOptionList gDeleteAll(kDeleteAllDef);
VrOptionList gRefresh(kRefreshDef);
VrOptionList gCloneSource(kCloneSourceDef);
VrOptionList gCloneRefresh(kCloneRefreshDef);

constexpr int kInt = VrSyntaxInteger;
constexpr int kText = VrSyntaxDisplayString;
constexpr int kMac = VrSyntaxMacAddress;

} // namespace

const VrSNMPVarDef kWlCountryVars[] = {VarDef(P "2.1.3.2.1.1.27.1", "dot11Countrycode", kText, 0x02, nullptr), VarEnd};
const VrSNMPVarDef kWlVlanVars[] = {VarDef(P "3.3.5.1.1.0", "dot11VlanStatus", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kWlMssidTableVars[] = {
    VarDef(P "3.3.3.3.1.1", "dot11MssidIndex", kInt, 0x01, nullptr),
    VarDef(P "3.3.3.3.1.2", "dot11MssIndividualState", kInt, 0x02, &gDisEn),
    VarDef(P "3.3.3.3.1.3", "dot11MssidSsid", kText, 0x02, nullptr),
    VarDef(P "3.3.3.3.1.5", "dot11MssidAuthentication", kInt, 0x02, nullptr),
    VarEnd};
const VrSNMPVarDef kWlBandVars[] = {VarDef(P "2.1.3.2.1.1.24.1", "dot11Band", kInt, 0x06, &gBand), VarEnd};
const VrSNMPVarDef kWlBasicVars[] = {
    VarDef(P "2.1.3.2.1.1.1.1", "dot11Ssid", kText, 0x26, nullptr),
    VarDef(P "2.1.3.2.1.1.2.1", "dot11SsidBroadcast", kInt, 0x26, &gDisEn),
    VarDef(P "2.1.3.2.1.1.3.1", "dot11Channel", kInt, 0x26, nullptr),
    VarDef(P "2.1.3.2.1.1.4.1", "dot11ABandChannelList", kText, 0x22, nullptr),
    VarDef(P "2.1.3.2.1.1.16.1", "dot11AutoChannelScan", kInt, 0x26, &gDisEn),
    VarDef(P "2.1.3.2.1.1.19.1", "dot11ChannelWidth", kInt, 0x26, &gWidth),
    VarEnd};
const VrSNMPVarDef kWlChannelDbVars[] = {VarDef(P "5.1.4.1.1.8.1", "dataBaseChannel", kInt, 0x02, nullptr), VarEnd};
// The 5 GHz lists share their objects with the G-band lists, so one read
// fills both sets of hidden fields; the application rides along.
const VrSNMPVarDef kWlChannelListVars[] = {
    VarDef(P "2.1.3.2.1.1.5.1", "dot11GBandChannelList", kText, 0x02, nullptr),
    VarDef(P "2.1.3.2.1.1.6.1", "dot11GBandWdsChannelList", kText, 0x02, nullptr),
    VarDef(P "2.1.3.2.1.1.41.1", "dot11Band5GHzOutdoorChannelList", kText, 0x02, nullptr),
    VarDef(P "2.1.3.2.1.1.40.1", "dot11Application", kInt, 0x06, &gApplication),
    VarEnd};
const VrSNMPVarDef kWlWifiModeVars[] = {VarDef(P "2.1.3.2.1.1.9.1", "dot11WifiMode", kInt, 0x02, nullptr), VarEnd};
const VrSNMPVarDef kWlMssidStateVars[] = {VarDef(P "3.3.3.1.1.1.1", "dot11MssidState", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kWlModeStatusVars[] = {VarDef(P "2.1.3.2.1.1.26.1", "dot11ApModeStatus", kText, 0x02, nullptr), VarEnd};
const VrSNMPVarDef kWlApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x06, &gApMode), VarEnd};
const VrSNMPVarDef kWlPassphraseVars[] = {
    VarDef(P "2.1.3.3.1.1.4.1", "dot11PassPhrase", kText, 0x06, nullptr),
    VarDef(P "2.1.3.3.1.1.5.1", "dot11CipherType", kInt, 0x06, &gCipher),
    VarDef(P "2.1.3.3.1.1.6.1", "dot11GroupKeyUpdateInterval", kInt, 0x06, nullptr),
    VarEnd};
const VrSNMPVarDef kWlRadiusVars[] = {
    VarDef(P "2.1.3.3.1.1.7.1", "dot11PrimaryRadiusServer", VrSyntaxIpAddress, 0x06, nullptr),
    VarDef(P "2.1.3.3.1.1.8.1", "dot11PrimaryRadiusPort", kInt, 0x06, nullptr),
    VarDef(P "2.1.3.3.1.1.9.1", "dot11PrimaryRadiusSecret", kText, 0x06, nullptr),
    VarDef(P "2.1.3.3.1.1.21.1", "dot11NetworkAccessProtection", kInt, 0x06, &gDisEn),
    VarEnd};
const VrSNMPVarDef kWlSecurityVars[] = {
    VarDef(P "2.1.3.3.1.1.1.1", "dot11Authentication", kInt, 0x06, &gAuth),
    VarDef(P "2.1.3.3.1.1.3.1", "dot11KeyIndex", kInt, 0x06, &gKeyIndex),
    VarDef(P "2.1.3.3.1.1.2.1", "dot11Encryption", kInt, 0x06, &gDisEn),
    VarEnd};

namespace {
#define WEP_KEY(n) \
    const VrSNMPVarDef kWepKey##n[] = { \
        VarDef(P "2.1.3.3.2.1.2." #n, "dot11KeyEntryMethod", kInt, 0x06, &gKeyType), \
        VarDef(P "2.1.3.3.2.1.3." #n, "dot11WepKey", kText, 0x06, nullptr), VarEnd};
WEP_KEY(1)
WEP_KEY(2)
WEP_KEY(3)
WEP_KEY(4)
#undef WEP_KEY
} // namespace
const VrSNMPVarDef *const kWlWepKeyVars[4] = {kWepKey1, kWepKey2, kWepKey3, kWepKey4};

#define PEER VarDef(P "2.1.3.2.2.2.1.1.1", "dot11RemoteApMacAddressAdd", kMac, 0x24, nullptr)
const VrSNMPVarDef kWlWdsPeerVars[] = {
    PEER, PEER, PEER, PEER, PEER, PEER, PEER, PEER,
    VarDef(P "2.1.3.2.2.2.1.3.1", "dot11RemoteApMacAddressDeleteAll", kInt, 0x24, &gDeleteAll),
    VarEnd};
#undef PEER
const VrSNMPVarDef kWlWdsListVars[] = {
    VarDef(P "2.1.3.2.2.1.1.1", "ID", kInt, 0x01, nullptr),
    VarDef(P "2.1.3.2.2.1.1.2", "dot11RemoteApMacAddressList", kMac, 0x02, nullptr),
    VarEnd};
const VrSNMPVarDef kWlSiteSurveyTriggerVars[] = {
    VarDef(P "2.1.3.2.3.1.1.1.1", "dot11SiteSurveyRefresh", kInt, 0x04, &gRefresh), VarEnd};
const VrSNMPVarDef kWlSiteSurveyVars[] = {
    VarDef(P "2.1.3.2.3.2.1.1", "ID", kInt, 0x01, nullptr),
    VarDef(P "2.1.3.2.3.2.1.3", "CH", kInt, 0x02, nullptr),
    VarDef(P "2.1.3.2.3.2.1.4", "Signal", kInt, 0x02, nullptr),
    VarDef(P "2.1.3.2.3.2.1.5", "BSSID", kMac, 0x02, nullptr),
    VarDef(P "2.1.3.2.3.2.1.6", "Security", kText, 0x02, nullptr),
    VarDef(P "2.1.3.2.3.2.1.7", "SSID", kText, 0x02, nullptr),
    VarEnd};
const VrSNMPVarDef kWlWdsSurveyTriggerVars[] = {
    VarDef(P "2.1.3.2.4.1.1.1.1", "dot11WdsSiteSurveyRefresh", kInt, 0x04, &gRefresh), VarEnd};
const VrSNMPVarDef kWlWdsSurveyVars[] = {
    VarDef(P "2.1.3.2.4.2.1.1", "ID", kInt, 0x01, nullptr),
    VarDef(P "2.1.3.2.4.2.1.2", "CH", kInt, 0x02, nullptr),
    VarDef(P "2.1.3.2.4.2.1.3", "Signal", kInt, 0x02, nullptr),
    VarDef(P "2.1.3.2.4.2.1.4", "BSSID", kMac, 0x02, nullptr),
    VarDef(P "2.1.3.2.4.2.1.5", "Security", kText, 0x02, nullptr),
    VarDef(P "2.1.3.2.4.2.1.6", "SSID", kText, 0x02, nullptr),
    VarEnd};
const VrSNMPVarDef kWlCloneVars[] = {
    VarDef(P "2.1.3.1.1.1.1.1", "dot11MacCloneStatus", kInt, 0x06, &gDisEn),
    VarDef(P "2.1.3.1.1.1.2.1", "dot11MacCloneSource", kInt, 0x06, &gCloneSource),
    VarDef(P "2.1.3.1.1.1.3.1", "dot11MacCloneMacAddress", kMac, 0x06, nullptr),
    VarEnd};
const VrSNMPVarDef kWlCloneTriggerVars[] = {
    VarDef(P "2.1.3.1.1.1.4.1", "dot11MacCloneAddressRefresh", kInt, 0x04, &gCloneRefresh), VarEnd};
const VrSNMPVarDef kWlCloneSurveyVars[] = {
    VarDef(P "2.1.3.1.2.1.1", "ID", kInt, 0x01, nullptr),
    VarDef(P "2.1.3.1.2.1.2", "MAC Address", kMac, 0x02, nullptr),
    VarEnd};

const VrOptionList &WlApModeOptions(bool restricted)
{
    return restricted ? gApModeRestricted : gApMode;
}

const VrOptionList &WlWifiModeOptions(bool band5)
{
    return band5 ? gWifi5 : gWifi24;
}
