// Command objects: adding to and deleting from the fixed-size tables, and
// the device actions (restart, factory reset, apply, clearing the log).
#include "AccessPoint.h"

namespace apsim {

namespace {

bool isFree(const Value &v, const ObjectDef &def) { return v == def.factory; }

} // namespace

void AccessPoint::registerTableCommands()
{
    // Adds go to the first free row; adding what is already there changes nothing.
    const auto add = [this](const std::string &column) {
        return [this, column](const Value &v, int) {
            if (isFree(v, *m_device.object(column)))
                return int(WrongValue);
            if (m_device.findRow(column, v))
                return int(NoError);
            const int row = m_device.firstFreeRow(column);
            if (!row)
                return int(ResourceUnavailable);
            m_device.setValue(column, v, row);
            return int(NoError);
        };
    };
    // Deletes by value free the row holding it; an absent value is already deleted.
    const auto removeValue = [this](const std::string &column) {
        return [this, column](const Value &v, int) {
            if (const int row = m_device.findRow(column, v))
                m_device.clearRow(column, row);
            return int(NoError);
        };
    };
    // Deletes by index free that row.
    const auto removeIndex = [this](const std::string &column) {
        return [this, column](const Value &v, int) {
            if (v.number < 1 || v.number > m_device.tableOf(column)->rows)
                return int(WrongValue);
            m_device.clearRow(column, static_cast<int>(v.number));
            return int(NoError);
        };
    };
    m_device.setAction("dot11MacAccessControlMacAddressAdd", add("dot11MacAccessControlListMacAddress"));
    m_device.setAction("dot11MacAccessControlMacAddressDelete", removeValue("dot11MacAccessControlListMacAddress"));
    m_device.setAction("macAccessControlFilterMacAddressAdd", add("macAccessControlFilterListMacAddress"));
    m_device.setAction("macAccessControlFilterMacAddressDelete", removeValue("macAccessControlFilterListMacAddress"));
    m_device.setAction("dot11RemoteApMacAddressAdd", add("dot11RemoteApMacAddressList"));
    m_device.setAction("parantalControlUrlAdd", add("parantalControlListUrl"));
    m_device.setAction("parantalControlUrlDelete", removeIndex("parantalControlListUrl"));
    m_device.setAction("portForwardingRuleDelete", removeIndex("portForwardingName"));
    m_device.setAction("fireWallSettingRuleDelete", removeIndex("firewallName"));
    m_device.setAction("dhcpServerStaticDelete", removeIndex("staticIP"));
    m_device.setAction("dot11QosRulesDelete", removeIndex("dot11QosRulesName"));
    m_device.setAction("schedulingDelete", removeIndex("schedulingName"));
    m_device.setAction("managerDelete", removeIndex("managerIpAddressPoolStart"));
    m_device.setAction("dot11RemoteApMacAddressDeleteAll", [this](const Value &v, int) {
        const std::string column = "dot11RemoteApMacAddressList";
        for (int row = 1; v.number == 1 && row <= m_device.tableOf(column)->rows; ++row)
            m_device.clearRow(column, row);
        return int(NoError);
    });
    m_device.setAction("dot11VlanListSurveydelete", [this](const Value &v, int row) {
        if (v.number == 1)
            m_device.clearRow("dot11GroupVlanListVid", row);
        return int(NoError);
    });
}

void AccessPoint::registerDeviceCommands()
{
    m_device.setAction("deviceRestart", [this](const Value &v, int) {
        m_restartRequested = m_restartRequested || v.number == 1;
        return int(NoError);
    });
    m_device.setAction("deviceFactoryDefault", [this](const Value &v, int) {
        if (v.number != 1)
            return int(NoError);
        m_device.resetToFactory();
        primarySsidRow();
        setLan("192.168.0.50", 24);
        m_log.clear();
        addLog("SYSTEM", "Factory defaults restored");
        m_restartRequested = true;
        return int(NoError);
    });
    m_device.setAction("deviceSettingApply", [this](const Value &v, int) {
        if (v.number == 1)
            addLog("SYSTEM", "Settings applied");
        return int(NoError);
    });
    m_device.setAction("systemLogClearLocalLog", [this](const Value &v, int) {
        if (v.number == 1)
            m_log.clear();
        return int(NoError);
    });
}

} // namespace apsim
