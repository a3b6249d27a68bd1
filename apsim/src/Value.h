#pragma once
// Syntaxes the device serves and the value of one object, with the text form
// used by defaults, the state file and configuration files.
#include <optional>
#include <string>
#include <string_view>

namespace apsim {

enum class Syntax { Integer, Text, Mac, IpAddress, TimeTicks, ObjectId };

// How a syntax travels in a PDU; MAC addresses and texts are both OCTET STRINGs.
enum class WireType { Integer, OctetString, IpAddress, TimeTicks, ObjectId };

WireType wireTypeOf(Syntax syntax);
const char *syntaxName(Syntax syntax);

struct Value {
    long number = 0;     // Integer, TimeTicks
    std::string bytes;   // Text; Mac (6 bytes); IpAddress (4 bytes); ObjectId (dotted text)
    bool operator==(const Value &) const = default;
};

// Text forms: decimal numbers, dotted addresses and OIDs, 12 hex digits for a
// MAC; texts are taken as they stand, or with C-style escapes when escaped.
std::optional<Value> valueFromText(Syntax syntax, std::string_view text, bool escaped = false);
std::string valueToText(Syntax syntax, const Value &value, bool escaped = false);

Value zeroValue(Syntax syntax);

// Two hex digits per byte (upper case when written); nullopt for an odd count
// or a character that is not a hex digit.
std::optional<std::string> bytesFromHex(std::string_view text);
std::string hexFromBytes(std::string_view bytes);

} // namespace apsim
