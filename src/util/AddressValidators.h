#pragma once

#include <QString>
#include <optional>

// Checks the pages run before they write an address or a mask to the device.
// Both take the dotted form only: exactly three dots, no leading dot.

// A unicast host address: first part 1..223, middle parts 0..255, last part
// 1..254 (so neither a network nor a broadcast address of a /24).
bool IsValidIPAddress(const QString &text);

// A netmask: contiguous ones then zeros, at least the two top bits set and the
// lowest bit clear (so /2 .. /31).
bool IsValidSubnetMask(const QString &text);

// An IPv4 address in dotted form as a 32-bit number, most significant part
// first; nullopt when it is not four parts of 0..255.
std::optional<quint32> AddressNumber(const QString &dotted);
