#pragma once
// The object inventory: every object the management module uses, read from
// the inventory table and completed by the device's own data (factory values,
// syntaxes the inventory leaves open, checks the value texts cannot express).
#include "Oid.h"
#include "Value.h"

#include <string>
#include <string_view>
#include <vector>

namespace apsim {

enum class Access { ReadOnly, ReadWrite, Trigger, Command };

struct Check {
    std::vector<long> allowed;      // enumeration; empty = any
    bool ranged = false;
    long min = 0, max = 0;
    size_t maxLength = 255;         // texts
    bool accepts(long n) const;
};

struct ObjectDef {
    std::string name;
    Oid oid;                        // wire OID; for a column, the column OID
    std::vector<Oid> aliases;       // further OIDs serving the same value
    std::vector<Oid> readOnlyAliases; // the same value, served read-only
    Syntax syntax = Syntax::Integer;
    Access access = Access::ReadOnly;
    Check check;
    Value factory;
    bool masked = false;            // reads back as '*' per character
    bool column = false;
    bool key = false;               // index column: reads the row number
    Oid entry;                      // table entry OID of a column
};

// A walked table: fixed configuration rows, or rows that a trigger fills.
struct TableLayout {
    Oid entry;
    int capacity = 0;
    bool survey = false;
};

struct Inventory {
    std::vector<ObjectDef> objects;
    std::vector<TableLayout> tables;
};

// Builds the object list; throws std::runtime_error naming the offending line.
Inventory loadInventory(std::string_view inventoryTsv, std::string_view deviceTsv);

// The private MIB root, written "P." in the device data file.
const Oid &productRoot();

} // namespace apsim
