#include "Device.h"

#include <algorithm>
#include <sstream>

namespace apsim {

Device::Device(Inventory inventory) : m_objects(std::move(inventory.objects))
{
    for (size_t i = 0; i < m_objects.size(); ++i)
        m_byName.emplace(m_objects[i].name, i);

    for (size_t i = 0; i < m_objects.size(); ++i) {
        const ObjectDef &def = m_objects[i];
        if (def.column)
            continue;
        const size_t slot = m_values.size();
        m_values.push_back(def.factory);
        const bool writable = def.access != Access::ReadOnly;
        m_cells[def.oid] = Cell{i, -1, 0, slot, writable};
        for (const Oid &alias : def.aliases)
            m_cells[alias] = Cell{i, -1, 0, slot, writable};
        for (const Oid &alias : def.readOnlyAliases)
            m_cells[alias] = Cell{i, -1, 0, slot, false};
    }
    for (const TableLayout &layout : inventory.tables) {
        Table table{layout, {}, layout.survey ? 0 : layout.capacity};
        for (size_t i = 0; i < m_objects.size(); ++i)
            if (m_objects[i].column && m_objects[i].entry == layout.entry)
                table.columns.push_back(i);
        const int t = static_cast<int>(m_tables.size());
        for (int row = 1; row <= layout.capacity; ++row) {
            for (const size_t column : table.columns) {
                const ObjectDef &def = m_objects[column];
                Oid oid = def.oid;
                oid.push_back(static_cast<unsigned long>(row));
                const bool writable = def.access != Access::ReadOnly && !def.key;
                m_cells[oid] = Cell{column, t, row, m_values.size(), writable};
                m_values.push_back(def.factory);
            }
        }
        m_tables.push_back(std::move(table));
    }
}

const Device::Cell *Device::findCell(const Oid &oid) const
{
    const auto it = m_cells.find(oid);
    return it == m_cells.end() || !visible(it->second) ? nullptr : &it->second;
}

bool Device::visible(const Cell &cell) const
{
    return cell.table < 0 || cell.row <= m_tables[static_cast<size_t>(cell.table)].rows;
}

Value Device::readCell(const Cell &cell) const
{
    const ObjectDef &def = m_objects[cell.object];
    if (const auto dyn = m_dynamic.find(def.name); dyn != m_dynamic.end())
        return dyn->second();
    if (def.key)
        return Value{cell.row, {}};
    if (def.access == Access::Trigger || def.access == Access::Command)
        return def.factory; // commands act; they do not keep what was written
    Value v = m_values[cell.slot];
    if (def.masked)
        v.bytes.assign(v.bytes.size(), '*');
    return v;
}

std::optional<Varbind> Device::get(const Oid &oid) const
{
    const Cell *cell = findCell(oid);
    if (!cell)
        return std::nullopt;
    return Varbind{oid, m_objects[cell->object].syntax, readCell(*cell)};
}

std::optional<Varbind> Device::getNext(const Oid &oid) const
{
    for (auto it = m_cells.upper_bound(oid); it != m_cells.end(); ++it)
        if (visible(it->second))
            return Varbind{it->first, m_objects[it->second.object].syntax, readCell(it->second)};
    return std::nullopt;
}

int Device::checkSet(const Oid &oid, WireType type, const Value &value) const
{
    const Cell *cell = findCell(oid);
    if (!cell)
        return NoCreation;
    if (!cell->writable)
        return NotWritable;
    const ObjectDef &def = m_objects[cell->object];
    if (type != wireTypeOf(def.syntax))
        return WrongType;
    switch (def.syntax) {
    case Syntax::Integer:
        return def.check.accepts(value.number) ? NoError : WrongValue;
    case Syntax::Text:
        return value.bytes.size() > def.check.maxLength ? WrongLength : NoError;
    case Syntax::Mac:
        return value.bytes.size() != 6 ? WrongLength : NoError;
    case Syntax::IpAddress:
        return value.bytes.size() != 4 ? WrongLength : NoError;
    case Syntax::TimeTicks:
    case Syntax::ObjectId:
        return NoError;
    }
    return NoError;
}

int Device::set(const Oid &oid, const Value &value)
{
    const Cell *found = findCell(oid);
    if (!found)
        return NoCreation;
    const Cell &cell = *found;
    const ObjectDef &def = m_objects[cell.object];
    if (const int status = checkSet(oid, wireTypeOf(def.syntax), value); status != NoError)
        return status;
    const auto action = m_actions.find(def.name);
    if (def.access == Access::Trigger || def.access == Access::Command)
        return action == m_actions.end() ? NoError : action->second(value, cell.row);
    // A masked key written back as read leaves the stored key alone.
    const bool stars = def.masked && !value.bytes.empty() &&
                       std::all_of(value.bytes.begin(), value.bytes.end(), [](char c) { return c == '*'; });
    if (!stars)
        m_values[cell.slot] = value;
    return action == m_actions.end() ? NoError : action->second(value, cell.row);
}

void Device::setAction(const std::string &name, Action action) { m_actions[name] = std::move(action); }
void Device::setDynamic(const std::string &name, Dynamic dynamic) { m_dynamic[name] = std::move(dynamic); }

const ObjectDef *Device::object(const std::string &name) const
{
    const auto it = m_byName.find(name);
    return it == m_byName.end() ? nullptr : &m_objects[it->second];
}

size_t Device::slotOf(const std::string &name, int row) const
{
    const ObjectDef *def = object(name);
    if (!def)
        throw std::logic_error("no object " + name);
    Oid oid = def->oid;
    if (def->column)
        oid.push_back(static_cast<unsigned long>(row));
    return m_cells.at(oid).slot;
}

Value Device::value(const std::string &name, int row) const { return m_values[slotOf(name, row)]; }
void Device::setValue(const std::string &name, const Value &value, int row) { m_values[slotOf(name, row)] = value; }

int Device::tableIndexOf(const std::string &columnName) const
{
    const ObjectDef *def = object(columnName);
    for (size_t t = 0; def && def->column && t < m_tables.size(); ++t)
        if (m_tables[t].layout.entry == def->entry)
            return static_cast<int>(t);
    throw std::logic_error("no table column " + columnName);
}

Device::Table *Device::tableOf(const std::string &columnName)
{
    return &m_tables[static_cast<size_t>(tableIndexOf(columnName))];
}

int Device::firstFreeRow(const std::string &columnName) const
{
    const Table &table = m_tables[static_cast<size_t>(tableIndexOf(columnName))];
    const Value &free = object(columnName)->factory;
    for (int row = 1; row <= table.rows; ++row)
        if (value(columnName, row) == free)
            return row;
    return 0;
}

int Device::findRow(const std::string &columnName, const Value &wanted) const
{
    const Table &table = m_tables[static_cast<size_t>(tableIndexOf(columnName))];
    for (int row = 1; row <= table.rows; ++row)
        if (value(columnName, row) == wanted)
            return row;
    return 0;
}

void Device::clearRow(const std::string &columnName, int row)
{
    for (const size_t column : tableOf(columnName)->columns)
        setValue(m_objects[column].name, m_objects[column].factory, row);
}

void Device::resetToFactory()
{
    for (const auto &[oid, cell] : m_cells)
        m_values[cell.slot] = m_objects[cell.object].factory;
    for (Table &table : m_tables)
        table.rows = table.layout.capacity;
    clearSurveys();
}

void Device::clearSurveys()
{
    for (Table &table : m_tables)
        if (table.layout.survey)
            table.rows = 0;
}

bool Device::persistent(const Cell &cell, bool withState) const
{
    const ObjectDef &def = m_objects[cell.object];
    if (!withState && m_transferOnly.count(def.name))
        return false;
    if (cell.table >= 0)
        return !m_tables[static_cast<size_t>(cell.table)].layout.survey && !def.key;
    if (def.access == Access::ReadWrite)
        return true;
    return withState && m_stateOnly.count(def.name);
}

std::string Device::exportText(bool withState) const
{
    std::ostringstream out;
    out << "# QRT-5150 configuration\n";
    for (const auto &[oid, cell] : m_cells) {
        const ObjectDef &def = m_objects[cell.object];
        const bool primary = cell.table >= 0 || oid == def.oid;
        if (primary && persistent(cell, withState))
            out << formatOid(oid) << '=' << valueToText(def.syntax, m_values[cell.slot], true) << '\n';
    }
    return out.str();
}

bool Device::importText(const std::string &text, bool withState, std::string &error)
{
    std::vector<std::pair<size_t, Value>> updates;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const auto eq = line.find('=');
        const auto oid = parseOid(line.substr(0, eq));
        const auto it = oid && eq != std::string::npos ? m_cells.find(*oid) : m_cells.end();
        if (it != m_cells.end() && !withState && m_transferOnly.count(m_objects[it->second.object].name))
            continue; // written by an older backup: not a setting to restore
        if (it == m_cells.end() || !persistent(it->second, withState)) {
            error = "line " + std::to_string(number) + ": not a setting of this device";
            return false;
        }
        const ObjectDef &def = m_objects[it->second.object];
        const auto v = valueFromText(def.syntax, line.substr(eq + 1), true);
        if (!v) {
            error = "line " + std::to_string(number) + ": value does not fit " + syntaxName(def.syntax);
            return false;
        }
        updates.emplace_back(it->second.slot, *v);
    }
    for (const auto &[slot, v] : updates)
        m_values[slot] = v;
    return true;
}

} // namespace apsim
