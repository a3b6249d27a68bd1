#pragma once
// The inventory and device data, compiled in so that the simulator runs from anywhere.
namespace apsim {
extern const char *const embeddedInventory;
extern const char *const embeddedDeviceData;
} // namespace apsim
