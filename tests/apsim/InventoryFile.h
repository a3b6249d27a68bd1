#pragma once
// The simulator's object inventory as the tests read it, straight from the
// data files in the source tree.
#include <string>
#include <vector>

namespace qrt::test {

struct InventoryRow {
    std::string name, wire, kind, syntax, access, values, notes;
};

// Rows of apsim/data/mib-objects.tsv; a syntax the inventory leaves open is
// the one apsim/data/device.tsv chooses. "<k>" in a wire OID becomes 1.
std::vector<InventoryRow> readInventory();
// The ASN type a syntax travels as.
unsigned char asnTypeOf(const std::string &syntax);

} // namespace qrt::test
