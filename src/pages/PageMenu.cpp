#include "PageMenu.h"

#include <QByteArray>
#include <array>
#include <cstring>

// Each area lists the pages it builds (in its <Area>Pages.cpp).
#define QRT_DECLARE_AREA(name) std::span<const PageRegistration> name##Pages();
QRT_DECLARE_AREA(Info)
QRT_DECLARE_AREA(Wireless)
QRT_DECLARE_AREA(Admin)
QRT_DECLARE_AREA(Network)
QRT_DECLARE_AREA(Stations)
QRT_DECLARE_AREA(Maintenance)
QRT_DECLARE_AREA(Router)
QRT_DECLARE_AREA(Services)
#undef QRT_DECLARE_AREA

namespace {

// The menu as the device's administrators know it; openers come from the areas.
std::array Entries = std::to_array<PageMenuEntry>({
    {"&Home", "&Information", "TFM_Information", nullptr},
    {"&Home", "&Wireless", "TFM_Wirless", nullptr},
    {"&Home", "&LAN", "TFM_LanCfg", nullptr},
    {"&Home", "Internet &Connection", "TFM_InternetConnect", nullptr},
    {"&Advanced", "&Performance", "TFM_Performace", nullptr},
    {"&Advanced|&Filters", "Wireless &MAC ACL", "TFM_FilterMACACL", nullptr},
    {"&Advanced|&Filters", "WLAN &Partition", "TFM_WLANPart", nullptr},
    {"&Advanced", "M&ulti-SSID", "TFM_MultiSSIDNewForm", nullptr},
    {"&Advanced", "&DHCP Server", "TFM_DHCP", nullptr},
    {"&Advanced", "&Intrusion", "TFM_RogueAP", nullptr},
    {"&Advanced", "&Schedule", "TFM_Scheduling", nullptr},
    {"&Advanced", "&QoS", "TFM_QosSetting", nullptr},
    {"&Advanced", "&VLAN", "TFM_VlanSetting", nullptr},
    {"&Advanced|&Router Settings", "Parental &Control", "TFM_ParentalCtr", nullptr},
    {"&Advanced|&Router Settings", "Advance Port &Forwarding", "TFM_AdPortfwding", nullptr},
    {"&Advanced|&Router Settings", "&MAC Filter", "TFM_RouterMACFilter", nullptr},
    {"&Advanced|&Router Settings", "Firewall && &DMZ", "TFM_FirewallDMZ", nullptr},
    {"&Advanced|&Router Settings", "Advanced &Network", "TFM_Adnetwork", nullptr},
    {"&Tools", "&Administrator Settings", "TFM_Admin2", nullptr},
    {"&Tools", "&System", "TFM_Sytem", nullptr},
    {"&Tools", "&Firmware and SSL Certification Upload", "TFM_Firmware", nullptr},
    {"&Tools", "&Time and Date", "TFM_Time", nullptr},
    {"&Tools", "&Configuration File", "TFM_CfgFile", nullptr},
    {"&Status", "&Device Information", "TFM_DevInfo", nullptr},
    {"&Status", "&Client Information", "TClientInformation", nullptr},
    {"&Status", "&WDS Information", "TFM_WDSInfo", nullptr},
    {"&Status|S&tats", "&Ethernet", "TFM_Static", nullptr},
    {"&Status|S&tats", "&WLAN", "TFM_StatWLAN", nullptr},
    {"&Status|&Log", "&View Log", "TLogForm", nullptr},
    {"&Status|&Log", "Log &Settings", "TLogSetForm", nullptr},
    {"He&lp", "&About", "TAboutForm", nullptr},
});

void attach(std::span<const PageRegistration> pages)
{
    for (const PageRegistration &page : pages) {
        bool found = false;
        for (PageMenuEntry &entry : Entries) {
            if (std::strcmp(entry.page, page.page) == 0) {
                entry.open = page.open;
                found = true;
            }
        }
        Q_ASSERT_X(found, "PageMenu", page.page); // a page the menu does not list
    }
}

} // namespace

std::span<const PageMenuEntry> PageMenu()
{
    static const bool attached = [] {
        attach(InfoPages());
        attach(WirelessPages());
        attach(AdminPages());
        attach(NetworkPages());
        attach(StationsPages());
        attach(MaintenancePages());
        attach(RouterPages());
        attach(ServicesPages());
        return true;
    }();
    Q_UNUSED(attached);
    return Entries;
}
