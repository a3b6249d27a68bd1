#pragma once
// Object identifiers as plain arc vectors, so the device model does not
// depend on the SNMP library that carries them on the wire.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace apsim {

using Oid = std::vector<unsigned long>;

// "1.3.6.1" or ".1.3.6.1"; nullopt when any arc is not a decimal number.
std::optional<Oid> parseOid(std::string_view text);
std::string formatOid(const Oid &oid);
bool isPrefix(const Oid &prefix, const Oid &oid);

} // namespace apsim
