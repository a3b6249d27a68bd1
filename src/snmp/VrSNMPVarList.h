#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class VrOptionList;

// Syntax codes of variable-list items.
enum VrSNMPSyntax : int {
    VrSyntaxTruthValue = 1,   // INTEGER 1/0 shown as true/false
    VrSyntaxInteger = 2,
    VrSyntaxOctetHex = 3,     // OCTET STRING shown in hex
    VrSyntaxOctetHex2 = 4,
    VrSyntaxNull = 5,
    VrSyntaxOid = 6,
    VrSyntaxIpAddress = 64,
    VrSyntaxCounter32 = 65,
    VrSyntaxGauge32 = 66,
    VrSyntaxTimeTicks = 67,
    VrSyntaxOpaque = 68,
    VrSyntaxAddress = 69,     // shown like an IpAddress
    VrSyntaxCounter64 = 70,
    VrSyntaxUnsigned32 = 71,
    VrSyntaxReal = 72,        // 8-byte real in an OCTET STRING
    VrSyntaxMacAddress = 73,  // 6-byte OCTET STRING
    VrSyntaxDateAndTime = 74, // 11-byte DateAndTime
    VrSyntaxDateTime8 = 75,   // 8-byte day number in an OCTET STRING
    VrSyntaxDisplayString = 76,
};

// Flag bits of variable-list items.
enum VrSNMPItemFlag : uint8_t {
    VrFlagKey = 0x01,      // table key: decoded from the row index, not read itself
    VrFlagRead = 0x02,     // in get and get-next PDUs
    VrFlagWrite = 0x04,    // in set PDUs
    VrFlagData = 0x08,     // counted in the data-column group
    VrFlagLeading = 0x10,  // moved from the data-column group to the leading group
    VrFlagExcluded = 0x20, // left out of every PDU
    VrFlagImplied = 0x40,  // the last key is encoded without a length arc
};

// List kinds.
enum VrSNMPListKind : uint8_t {
    VrListScalar = 0,   // ".0" appended to every OID
    VrListInstance = 1, // OIDs given with their full instance
    VrListTable = 2,    // walked row by row
    VrListTable2 = 3,   // walked like kind 2
};

// One entry of a static definition table; a table ends with an entry whose
// OID is null.
struct VrSNMPVarDef {
    const char *oid;
    const char *name;
    int syntax;
    uint8_t flags;
    VrOptionList *options;       // shared, not owned
    const char *readExpression;  // computed after each read
    const char *writeExpression; // computed before each write
    const char *extra;           // carried along; not interpreted here
    const char *value;           // initial value
    const char *instance;        // initial instance OID
};

// An item of a variable list: the definition's fields as owned texts, plus
// the current value and the instance OID last requested or returned.
struct VrSNMPVarItem {
    QString oid;
    QString name;
    int syntax = VrSyntaxDisplayString;
    uint8_t flags = 0;
    VrOptionList *options = nullptr;
    QString readExpression;
    QString writeExpression;
    QString extra;
    QString value;
    QString instance;
};

// An ordered list of MIB objects read or written together in one PDU.
class VrSNMPVarList
{
public:
    VrSNMPVarList();
    VrSNMPVarList(const VrSNMPVarDef *table, uint8_t kind, int keyCount);
    // Deep copy: items duplicated. Option lists owned by the source stay with
    // it; the copied items still point at them, so the source must outlive a
    // copy that uses its options.
    VrSNMPVarList(const VrSNMPVarList &other);
    VrSNMPVarList &operator=(const VrSNMPVarList &other);
    ~VrSNMPVarList();

    void Append(const VrSNMPVarDef *table);

    int Count() const { return int(m_items.size()); }
    VrSNMPVarItem &Item(int position) { return m_items.at(size_t(position)); }
    const VrSNMPVarItem &Item(int position) const { return m_items.at(size_t(position)); }

    bool IsReadable(int position) const;
    bool IsWritable(int position) const;
    bool IsImplied(int position) const;
    bool IsTable() const { return kind == VrListTable || kind == VrListTable2; }

    bool IsLeading(int position) const;
    int LeadingCount() const;
    bool IsDataColumn(int position) const;
    int DataColumnCount() const;

    // Takes ownership of an option list made for this list (by the binding
    // layer); it is deleted with the list.
    VrOptionList *AdoptOptionList(std::unique_ptr<VrOptionList> options);

    QString instanceSuffix; // appended after a dot to every OID when not empty
    int keyCount = 0;
    uint8_t kind = VrListScalar;
    QString description;    // replaces "[VARLIST]" in status lines

private:
    std::vector<VrSNMPVarItem> m_items;
    std::vector<std::unique_ptr<VrOptionList>> m_ownedOptions;
};
