// The change a user makes on each page with a Save, for the restart fault.
// "wait=N" lets the page work by itself for N ms. Pages that only show, refresh, clear counters or move files have none.
#include "FaultTour.h"

#include <cstring>

namespace faults {

namespace {

const SaveEdit Edits[] = {
    {"TFM_Information", "Ed_SL=Lab 2 rack 4", "Btn_Sa"},
    {"TFM_Wirless", "Ed_SSID=renamed", "Bt_Apply"},
    {"TFM_LanCfg", "ED_DefGw=192.168.0.254", "BT_LanCfgOk"},
    {"TFM_InternetConnect", "Edt_Dyhostname=ap-5150.lab", "Btn_Apply"},
    {"TFM_Performace", "Ed_BeInta=200", "Bt_Apply"},
    {"TFM_FilterMACACL", "CB_AccessControl=Accept;Ed_MacAdd=00AABBCCDD01", "Bt_Add"},
    {"TFM_WLANPart", "CB_WLANAccess=Disable", "Btn_Apply"},
    {"TFM_MultiSSIDNewForm", "IfEnabMuSSID=click", "ApplyBtn"},
    {"TFM_DHCP",
     "CB_Fuction1=Enable;Ed_IPAF=192.168.0.100;Ed_PoolRan=20;Ed_SubMask=255.255.255.0;Ed_Gateway=192.168.0.1",
     "Bt_Apply"},
    {"TFM_RogueAP", "Btn_Detect=click;wait=1500;CheckBox_SelectAll=click", "Btn_Apply"},
    {"TFM_Scheduling", "CheckBox_SchEnable=click", "Btn_Apply"},
    {"TFM_QosSetting", "CB_EnableQos=*", "Btn_Apply"},
    {"TFM_VlanSetting", "CB_VlanStatus=Enable;Ed_VlanID=10;Ed_VlanName=guests", "AddButton"},
    {"TFM_ParentalCtr", "CB_ParentContrl=Deny;Edt_WebURL=example.com", "Bt_Add"},
    {"TFM_AdPortfwding",
     "Edt_Name=web;Edt_IPAddr=192.168.1.20;Edt_PubPortRangeStart=8080;Edt_PubPortRangeEnd=8090;"
     "Edt_PriPortRangeStart=80",
     "Bt_Add"},
    {"TFM_RouterMACFilter", "CB_Telnet=Reject;Edt_MACAddress=001122334455", "Bt_Add"},
    {"TFM_FirewallDMZ", "CB_EnableSPI=click", "Bt_Save"},
    {"TFM_Adnetwork", "CBH_EnalbeUPnP=click", "Bt_Save"},
    {"TFM_Admin2", "Ed_SysName=roof-ap", "OK"},
    {"TFM_Time", "CB_TimeZone=(GMT-10:00) Hawaii", "Btn_Apply"},
    {"TLogSetForm", "Ed_LogServerIp=10.1.2.3;CBoxRemoteLogStatus=Enable", "Bt_Apply"},
};

} // namespace

const SaveEdit *FindSaveEdit(const char *page)
{
    for (const SaveEdit &e : Edits)
        if (std::strcmp(e.page, page) == 0)
            return &e;
    return nullptr;
}

} // namespace faults
