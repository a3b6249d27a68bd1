// The router operation of the device: dot11ApMode 5 runs it as a router, the
// mode in which the module offers its router pages. The inventory knows the
// four wireless modes only, so the fifth value is added to its check here.
#include "AccessPoint.h"

#include <cctype>

namespace apsim {

namespace {

constexpr long kModeRouter = 5;

// Website names as the parental filter keeps them: letters, digits, '.', '_', '-'.
bool validUrl(const std::string &url)
{
    if (url.empty())
        return false;
    for (const char c : url) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 128 || !(std::isalnum(u) || c == '.' || c == '_' || c == '-'))
            return false;
    }
    return true;
}

} // namespace

Inventory AccessPoint::withRouterMode(Inventory inventory)
{
    for (ObjectDef &def : inventory.objects)
        if (def.name == "dot11ApMode" && !def.check.allowed.empty())
            def.check.allowed.push_back(kModeRouter);
    return inventory;
}

void AccessPoint::registerRouter()
{
    // The URL list takes only names the filter can match; the add itself is
    // the common one (first free row, resourceUnavailable when all ten are used).
    const Device::Action add = m_device.action("parantalControlUrlAdd");
    m_device.setAction("parantalControlUrlAdd", [add](const Value &v, int row) {
        if (!validUrl(v.bytes))
            return int(WrongValue);
        return add ? add(v, row) : int(NoError);
    });
}

} // namespace apsim
