// The schedule, QoS and WAN behaviour the device adds to its object store:
// a schedule delete leaves the scheduling switch alone, the WAN keeps one MTU
// per connection type, and the PPPoE manual connect
// follows the connection type.
#include "AccessPoint.h"

#include <array>
#include <memory>

namespace apsim {

namespace {

constexpr long kPppoe = 3, kConnected = 1, kDisconnected = 2;
const char *const kSchedulingStatus = "1.3.6.1.4.1.48213.10.37.37.4.11.2.1.2.1";
const char *const kWanType = "1.3.6.1.4.1.48213.10.37.37.2.2.1.1.1.1.3.2";

} // namespace

void AccessPoint::registerServices()
{
    // schedulingStatus sits under the schedule table's entry (column 2, row
    // 1) but is no part of a rule: freeing row 1 must not switch scheduling off.
    const Device::Action remove = m_device.action("schedulingDelete");
    const Oid status = *parseOid(kSchedulingStatus);
    m_device.setAction("schedulingDelete", [this, remove, status](const Value &v, int row) {
        const auto kept = m_device.get(status);
        const int result = remove ? remove(v, row) : int(NoError);
        if (kept)
            m_device.set(status, kept->value);
        return result;
    });

    const Oid wanType = *parseOid(kWanType);
    const auto currentType = [this, wanType] {
        const auto vb = m_device.get(wanType);
        return vb ? vb->value.number : 1L;
    };
    // One MTU per connection type (index 1..4); the limits of each type are
    // the module's to check, the device takes 200..1500 for any.
    auto mtus = std::make_shared<std::array<long, 5>>(std::array<long, 5>{0, 1500, 1500, 1492, 1400});
    m_device.setDynamic("ipMTU", [mtus, currentType] { return Value{(*mtus)[size_t(currentType())], {}}; });
    m_device.setAction("ipMTU", [mtus, currentType](const Value &v, int) {
        (*mtus)[size_t(currentType())] = v.number;
        return int(NoError);
    });

    // Leaving PPPoE drops the line; connecting needs PPPoE.
    const Device::Action typeChanged = m_device.action("ipType");
    m_device.setAction("ipType", [this, typeChanged, currentType](const Value &v, int row) {
        if (currentType() != kPppoe)
            m_device.setValue("ipInformationPppoeManualMode", Value{kDisconnected, {}});
        return typeChanged ? typeChanged(v, row) : int(NoError);
    });
    m_device.setAction("ipInformationPppoeManualMode", [this, currentType](const Value &v, int) {
        if (v.number == kConnected && currentType() != kPppoe) {
            m_device.setValue("ipInformationPppoeManualMode", Value{kDisconnected, {}});
            return int(InconsistentValue);
        }
        return int(NoError);
    });
}

} // namespace apsim
