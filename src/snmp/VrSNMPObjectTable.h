#pragma once

#include "VrSNMPVarList.h"

// Rows of the static object tables of this module's windows; the fields a
// plain read or write does not use stay null.
constexpr VrSNMPVarDef VarDef(const char *oid, const char *name, int syntax, uint8_t flags,
                              VrOptionList *options = nullptr)
{
    return {oid, name, syntax, flags, options, nullptr, nullptr, nullptr, nullptr, nullptr};
}
// Ends a table.
inline constexpr VrSNMPVarDef VarEnd{};

inline constexpr uint8_t VarReadWrite = VrFlagRead | VrFlagWrite;
