#pragma once
// The device's objects by name, with the types and value ranges the
// inventory states, for reading and writing single objects by hand.
#include "VrSNMPVarList.h"

#include <QString>
#include <optional>

struct InventoryObject {
    QString name;
    QString oid;    // as sent: with its instance
    int syntax = VrSyntaxDisplayString;
    bool writable = false;
    QString values; // the inventory's description of the values it takes
};

// Scalars and single instances; table columns are left to the pages.
std::optional<InventoryObject> FindInventoryObject(const QString &name);

// Why the value cannot be written to the object, in the words the pages use
// for the same mistake; empty when it can. *wire receives the value as sent
// (an enumeration's label becomes its number).
QString CheckInventoryValue(const InventoryObject &object, const QString &value, QString *wire);

// The value as read, with an enumeration's label: "1 (Enable)".
QString DescribeInventoryValue(const InventoryObject &object, const QString &value);
