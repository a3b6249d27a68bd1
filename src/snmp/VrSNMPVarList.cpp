#include "VrSNMPVarList.h"

#include "VrOptionList.h"

namespace {

// Items that the list views show before the data columns: write-only
// objects, and anything excluded or explicitly moved there.
bool isLeadingFlags(uint8_t flags)
{
    return flags == VrFlagWrite || (flags & (VrFlagExcluded | VrFlagLeading)) != 0;
}

bool isDataColumnFlags(uint8_t flags)
{
    return (flags & (VrFlagExcluded | VrFlagLeading)) == 0
        && (flags & (VrFlagKey | VrFlagData | VrFlagRead)) != 0;
}

VrSNMPVarItem itemFromDef(const VrSNMPVarDef &def)
{
    VrSNMPVarItem item;
    item.oid = QString::fromUtf8(def.oid);
    item.name = QString::fromUtf8(def.name);
    item.syntax = def.syntax;
    item.flags = def.flags;
    item.options = def.options;
    item.readExpression = QString::fromUtf8(def.readExpression);
    item.writeExpression = QString::fromUtf8(def.writeExpression);
    item.extra = QString::fromUtf8(def.extra);
    item.value = QString::fromUtf8(def.value);
    item.instance = QString::fromUtf8(def.instance);
    return item;
}

} // namespace

VrSNMPVarList::VrSNMPVarList() = default;

VrSNMPVarList::VrSNMPVarList(const VrSNMPVarDef *table, uint8_t kind, int keyCount)
    : keyCount(keyCount), kind(kind)
{
    Append(table);
}

// The owned option lists are not copied: the copy's items keep pointing at
// the source's lists, so the source must outlive any copy that displays them.
VrSNMPVarList::VrSNMPVarList(const VrSNMPVarList &other)
    : instanceSuffix(other.instanceSuffix), keyCount(other.keyCount), kind(other.kind),
      description(other.description), m_items(other.m_items)
{
}

VrSNMPVarList &VrSNMPVarList::operator=(const VrSNMPVarList &other)
{
    if (this == &other)
        return *this;
    instanceSuffix = other.instanceSuffix;
    keyCount = other.keyCount;
    kind = other.kind;
    description = other.description;
    m_items = other.m_items;
    return *this;
}

VrSNMPVarList::~VrSNMPVarList() = default;

void VrSNMPVarList::Append(const VrSNMPVarDef *table)
{
    for (const VrSNMPVarDef *def = table; def && def->oid; ++def)
        m_items.push_back(itemFromDef(*def));
}

bool VrSNMPVarList::IsReadable(int position) const
{
    const uint8_t flags = Item(position).flags;
    return !(flags & VrFlagExcluded) && (flags & VrFlagRead);
}

bool VrSNMPVarList::IsWritable(int position) const
{
    const uint8_t flags = Item(position).flags;
    if (flags & VrFlagExcluded)
        return false;
    // Table keys go into a set so that the agent can create the row.
    return (flags & VrFlagWrite) || (IsTable() && position < keyCount);
}

bool VrSNMPVarList::IsImplied(int position) const
{
    return Item(position).flags & VrFlagImplied;
}

bool VrSNMPVarList::IsLeading(int position) const
{
    return isLeadingFlags(Item(position).flags);
}

int VrSNMPVarList::LeadingCount() const
{
    int count = 0;
    for (const VrSNMPVarItem &item : m_items)
        count += isLeadingFlags(item.flags);
    return count;
}

bool VrSNMPVarList::IsDataColumn(int position) const
{
    return isDataColumnFlags(Item(position).flags);
}

int VrSNMPVarList::DataColumnCount() const
{
    int count = 0;
    for (const VrSNMPVarItem &item : m_items)
        count += isDataColumnFlags(item.flags);
    return count;
}

VrOptionList *VrSNMPVarList::AdoptOptionList(std::unique_ptr<VrOptionList> options)
{
    m_ownedOptions.push_back(std::move(options));
    return m_ownedOptions.back().get();
}
