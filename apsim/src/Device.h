#pragma once
// The access point's object store: scalars and fixed-size tables at their
// wire OIDs, with reads, ordered walks, checked writes and the configuration
// text that backs the state file and configuration transfers.
#include "Inventory.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace apsim {

// SNMP error statuses as numbers, so the model needs no SNMP library.
enum Status : int {
    NoError = 0, GenErr = 5, WrongType = 7, WrongLength = 8, WrongValue = 10, NoCreation = 11,
    InconsistentValue = 12, ResourceUnavailable = 13, NotWritable = 17,
    OverdueFirmware = 19 // the device's own: a firmware image older than the running one
};

struct Varbind {
    Oid oid;
    Syntax syntax;
    Value value;
};

class Device
{
public:
    struct Table {
        TableLayout layout;
        std::vector<size_t> columns; // object indexes
        int rows = 0;                // rows served; configuration tables serve all
    };
    // A write action: runs after the checks pass, with the written value.
    using Action = std::function<int(const Value &, int row)>;
    using Dynamic = std::function<Value()>;

    explicit Device(Inventory inventory);

    std::optional<Varbind> get(const Oid &oid) const;
    std::optional<Varbind> getNext(const Oid &oid) const;
    // Checks a write without doing it: type, access, enumeration, length.
    int checkSet(const Oid &oid, WireType type, const Value &value) const;
    // Stores the value (or runs the object's action); returns an error status.
    int set(const Oid &oid, const Value &value);

    void setAction(const std::string &name, Action action);
    bool hasAction(const std::string &name) const { return m_actions.count(name) > 0; }
    Action action(const std::string &name) const
    {
        const auto it = m_actions.find(name);
        return it == m_actions.end() ? Action{} : it->second;
    }
    void setDynamic(const std::string &name, Dynamic dynamic);

    const ObjectDef *object(const std::string &name) const;
    const std::vector<ObjectDef> &objects() const { return m_objects; }
    // Stored values by name (the first object of that name; row for columns),
    // bypassing checks and actions.
    Value value(const std::string &name, int row = 0) const;
    void setValue(const std::string &name, const Value &value, int row = 0);
    // Read-only objects that the state file keeps (what the device changes itself).
    void keepInState(const std::string &name) { m_stateOnly.insert(name); }
    // Writable objects that steer a transfer (server, file name) rather than
    // configure the device: a configuration file neither holds nor restores them.
    void keepOutOfConfiguration(const std::string &name) { m_transferOnly.insert(name); }

    Table *tableOf(const std::string &columnName);
    // First row whose column reads its free value, or 0 when the table is full.
    int firstFreeRow(const std::string &columnName) const;
    int findRow(const std::string &columnName, const Value &value) const;
    void clearRow(const std::string &columnName, int row);

    void resetToFactory();
    // Empties the tables that triggers fill, as a restart does.
    void clearSurveys();
    // Configuration text: one "OID=value" line per setting. With state, the
    // text also carries what only the device itself changes (its firmware).
    std::string exportText(bool withState) const;
    bool importText(const std::string &text, bool withState, std::string &error);

private:
    struct Cell {
        size_t object;
        int table = -1;
        int row = 0;
        size_t slot = 0;
        bool writable = false;
    };
    const Cell *findCell(const Oid &oid) const;
    bool visible(const Cell &cell) const;
    Value readCell(const Cell &cell) const;
    size_t slotOf(const std::string &name, int row) const;
    int tableIndexOf(const std::string &columnName) const;
    bool persistent(const Cell &cell, bool withState) const;

    std::vector<ObjectDef> m_objects;
    std::vector<Table> m_tables;
    std::vector<Value> m_values;
    std::map<Oid, Cell> m_cells;
    std::map<std::string, size_t> m_byName;
    std::map<std::string, Action> m_actions;
    std::map<std::string, Dynamic> m_dynamic;
    std::set<std::string> m_stateOnly;
    std::set<std::string> m_transferOnly;
};

} // namespace apsim
