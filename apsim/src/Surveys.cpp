// Triggers: writing 1 makes the device collect the data of a table. The rows
// are simulated, the same for the same seed, with a few free rows at the end
// so that readers must skip them.
#include "AccessPoint.h"

#include <algorithm>
#include <map>
#include <memory>
#include <random>

namespace apsim {

namespace {

constexpr int FreeRows = 3;

struct Survey {
    const char *trigger;
    const char *column; // a column of the table it fills
};

const Survey surveys[] = {
    {"dot11ClientInformationRefresh", "dot11ClientMacAddress"},
    {"dot11SiteSurveyRefresh", "(unnamed) site survey BSSID"},
    {"dot11WdsSiteSurveyRefresh", "(unnamed) WDS site survey BSSID"},
    {"dot11MacCloneAddressRefresh", "dot11MacCloneSurveryMacAddress"},
    {"dot11WdsRefresh", "dot11WdsMacAddress"},
    {"dot11RogueApSurveyRefresh", "dot11RogueApSurveyBssid"},
    {"refreshCurrentDynamicList", "(unnamed) current dynamic MAC"},
    {"refreshCurrentStaticList", "(unnamed) current static MAC"},
    {"dot11PortListRefresh", "dot11PortListTagVid"},
};

bool has(const std::string &name, const char *part) { return name.find(part) != std::string::npos; }

Value simulated(const ObjectDef &def, int row, std::mt19937 &rng, const Device &device)
{
    const auto pick = [&](long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(rng); };
    Value v = zeroValue(def.syntax);
    switch (def.syntax) {
    case Syntax::Mac:
        v.bytes = std::string("\x00\x1a\x2b", 3);
        for (int i = 0; i < 3; ++i)
            v.bytes += static_cast<char>(i == 2 ? row : pick(0, 255));
        break;
    case Syntax::IpAddress: {
        v = device.value("ipInformationIp");
        v.bytes[3] = static_cast<char>(100 + row % 150);
        break;
    }
    case Syntax::TimeTicks:
        v.number = pick(100, 8640000);
        break;
    case Syntax::Integer:
        if (!def.check.allowed.empty())
            v.number = def.check.allowed[static_cast<size_t>(pick(0, static_cast<long>(def.check.allowed.size()) - 1))];
        else if (has(def.name, "Rssi") || has(def.name, "Signal"))
            v.number = pick(15, 99);
        else if (has(def.name, "CH") || has(def.name, "Channel"))
            v.number = pick(1, 11);
        else if (has(def.name, "Psm") || has(def.name, "Connected"))
            v.number = pick(0, 1);
        else
            v.number = pick(1, 100);
        break;
    case Syntax::Text:
        if (def.name == "dot11SSIDIndex")
            v.bytes = device.value("dot11Ssid").bytes;
        else if (has(def.name, "SSID") || has(def.name, "Ssid"))
            v.bytes = "Neighbour-" + std::to_string(row);
        else if (has(def.name, "Security"))
            v.bytes = std::vector<const char *>{"None", "WEP", "WPA-PSK", "WPA2-PSK"}[static_cast<size_t>(pick(0, 3))];
        else if (has(def.name, "HostName"))
            v.bytes = "station-" + std::to_string(row);
        else if (has(def.name, "lease"))
            v.bytes = std::to_string(pick(1, 23)) + " Hours " + std::to_string(pick(0, 59)) + " Minutes";
        else if (has(def.name, "Lastseem"))
            v.bytes = std::to_string(pick(0, 59)) + " sec ago";
        else if (has(def.name, "WdsStatus"))
            v.bytes = pick(0, 3) ? "on" : "off";
        else
            v.bytes = "entry " + std::to_string(row);
        break;
    case Syntax::ObjectId:
        break;
    }
    return v;
}

} // namespace

// One row per port shown by the VLAN pages: the VIDs of the VLANs that hold
// the port tagged and untagged, as the VLAN table says now.
void AccessPoint::fillPortList()
{
    static const char *const ports[] = {
        "dot11GroupVlanListMgmt",   "dot11GroupVlanListLan",    "dot11GroupVlanListPrimary",
        "dot11GroupVlanListMssid1", "dot11GroupVlanListMssid2", "dot11GroupVlanListMssid3",
        "dot11GroupVlanListWds1",   "dot11GroupVlanListWds2",   "dot11GroupVlanListWds3",
        "dot11GroupVlanListWds4"};
    Device::Table &list = *m_device.tableOf("dot11PortListTagVid");
    const int vlans = m_device.tableOf("dot11GroupVlanListVid")->rows;
    list.rows = static_cast<int>(std::size(ports));
    for (int port = 1; port <= list.rows; ++port) {
        std::string tagged, untagged;
        for (int row = 1; row <= vlans; ++row) {
            const long vid = m_device.value("dot11GroupVlanListVid", row).number;
            const long member = m_device.value(ports[port - 1], row).number;
            std::string &cell = member == 1 ? tagged : untagged;
            if (vid == 0 || member == 0)
                continue;
            if (!cell.empty())
                cell += ',';
            cell += std::to_string(vid);
        }
        m_device.setValue("dot11PortListTagVid", Value{0, tagged}, port);
        m_device.setValue("dot11PortListUntagVid", Value{0, untagged}, port);
    }
}

void AccessPoint::fillSurvey(const std::string &column, unsigned salt)
{
    if (column == "dot11PortListTagVid") {
        fillPortList();
        return;
    }
    Device::Table &table = *m_device.tableOf(column);
    const int used = std::min(m_settings.stations, table.layout.capacity - FreeRows);
    table.rows = used + FreeRows;
    std::mt19937 rng(m_settings.seed * 7919u + salt);
    for (int row = 1; row <= table.rows; ++row) {
        for (const size_t index : table.columns) {
            const ObjectDef &def = m_device.objects()[index];
            if (!def.key)
                m_device.setValue(def.name, row <= used ? simulated(def, row, rng, m_device) : def.factory, row);
        }
    }
}

// What a careless device sends in its station tables: an authentication
// outside 1..9 and a negative RSSI on row 2, and on the last used row a MAC
// one byte too long, which a reader cannot take as a MAC.
void AccessPoint::spoilStationRows(const std::string &column)
{
    const bool clients = column == "dot11ClientMacAddress";
    if (!clients && column != "dot11WdsMacAddress")
        return;
    const int used = std::min(m_settings.stations, m_device.tableOf(column)->layout.capacity - FreeRows);
    if (used >= 2) {
        m_device.setValue(clients ? "dot11ClientAuthentication" : "dot11WdsAuthentication", Value{12, {}}, 2);
        m_device.setValue(clients ? "dot11ClientRssi" : "dot11WdsRssi", Value{-40, {}}, 2);
    }
    if (used >= 3) {
        Value mac = m_device.value(column, used);
        mac.bytes += '\x7f';
        m_device.setValue(column, mac, used);
    }
}

// The stations' signals drift with time around the values of the seed, so a
// page that collects the table again sees them move.
void AccessPoint::moveSignals(const std::string &column)
{
    const bool clients = column == "dot11ClientMacAddress";
    if (!clients && column != "dot11WdsMacAddress")
        return;
    const char *rssi = clients ? "dot11ClientRssi" : "dot11WdsRssi";
    const double seconds = double(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_boot).count()) / 1000.0;
    const int used = std::min(m_settings.stations, m_device.tableOf(column)->layout.capacity - FreeRows);
    for (int row = 1; row <= used; ++row)
        m_device.setValue(rssi, Value{m_traffic.signal(m_device.value(rssi, row).number, row, seconds), {}}, row);
}

void AccessPoint::registerSurveys()
{
    // The device remembers the class given to an access point (by BSSID):
    // a new survey finds it again in that class.
    auto remembered = std::make_shared<std::map<std::string, long>>();
    unsigned salt = 0;
    for (const Survey &s : surveys) {
        const std::string column = s.column;
        const std::string trigger = s.trigger;
        m_device.setAction(trigger, [this, column, trigger, remembered, salt = ++salt](const Value &v, int) {
            if (v.number == 1) {
                fillSurvey(column, salt);
                moveSignals(column);
                if (m_settings.oddRows)
                    spoilStationRows(column);
                if (column == "dot11RogueApSurveyBssid") {
                    const int rows = m_device.tableOf(column)->rows;
                    for (int row = 1; row <= rows; ++row) {
                        const auto known = remembered->find(m_device.value(column, row).bytes);
                        if (known != remembered->end())
                            m_device.setValue("dot11RogueApSurveyType", Value{known->second, {}}, row);
                    }
                }
                addLog(trigger.rfind("dot11", 0) == 0 ? "WIRELESS" : "NOTICE", trigger + " done");
            }
            return int(NoError);
        });
    }
    // Classifying a rogue-survey entry sets its type.
    const std::pair<const char *, long> classes[] = {
        {"dot11RogueApAddtoNew", 1}, {"dot11RogueApAddtoValid", 2},
        {"dot11RogueApAddtoNeighbor", 3}, {"dot11RogueApAddtoRouge", 4}};
    for (const auto &[name, type] : classes) {
        m_device.setAction(name, [this, remembered, type = type](const Value &v, int) {
            const Device::Table &table = *m_device.tableOf("dot11RogueApSurveyType");
            if (v.number < 1 || v.number > table.rows ||
                m_device.value("dot11RogueApSurveyBssid", static_cast<int>(v.number)) == zeroValue(Syntax::Mac))
                return int(WrongValue);
            m_device.setValue("dot11RogueApSurveyType", Value{type, {}}, static_cast<int>(v.number));
            (*remembered)[m_device.value("dot11RogueApSurveyBssid", static_cast<int>(v.number)).bytes] = type;
            return int(NoError);
        });
    }
}

} // namespace apsim
