// The multi-SSID table as the device keeps it: its first row is the primary
// SSID (always in use, its SSID the radio's own), and the extra SSIDs stop
// when the device becomes a WDS bridge or a client.
#include "AccessPoint.h"

namespace apsim {

namespace {

constexpr int kPrimaryRow = 1;
constexpr long kModeWds = 3, kModeClient = 4;

} // namespace

void AccessPoint::primarySsidRow()
{
    m_device.setValue("dot11MssIndividualState", Value{1, {}}, kPrimaryRow);
    m_device.setValue("dot11MssidSsid", m_device.value("dot11Ssid"), kPrimaryRow);
}

void AccessPoint::registerMultiSsid()
{
    primarySsidRow();
    m_device.setAction("dot11Ssid", [this](const Value &v, int) {
        m_device.setValue("dot11MssidSsid", v, kPrimaryRow);
        return int(NoError);
    });
    m_device.setAction("dot11MssidSsid", [this](const Value &v, int row) {
        if (row == kPrimaryRow)
            m_device.setValue("dot11Ssid", v);
        return int(NoError);
    });
    m_device.setAction("dot11MssIndividualState", [this](const Value &v, int row) {
        if (row != kPrimaryRow || v.number == 1)
            return int(NoError);
        primarySsidRow();
        return int(InconsistentValue);
    });
    m_device.setAction("dot11ApMode", [this](const Value &v, int) {
        if (v.number == kModeWds || v.number == kModeClient)
            m_device.setValue("dot11MssidState", Value{0, {}});
        return int(NoError);
    });
}

} // namespace apsim
