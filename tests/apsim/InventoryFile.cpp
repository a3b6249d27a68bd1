#include "InventoryFile.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <fstream>
#include <map>
#include <sstream>

namespace qrt::test {

namespace {

std::vector<std::vector<std::string>> readTsv(const std::string &path)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream s(line);
        std::string field;
        while (std::getline(s, field, '\t'))
            fields.push_back(field);
        if (!line.empty() && line.back() == '\t')
            fields.emplace_back();
        rows.push_back(fields);
    }
    return rows;
}

} // namespace

std::vector<InventoryRow> readInventory()
{
    const std::string data = std::string(QRT_SOURCE_DIR) + "/apsim/data/";
    std::map<std::string, std::string> chosen;
    for (const auto &f : readTsv(data + "device.tsv"))
        if (f.size() == 3 && f[1] == "syntax")
            chosen[f[0].rfind("P.", 0) == 0 ? "1.3.6.1.4.1.48213.10.37.37." + f[0].substr(2) : f[0]] = f[2];
    std::vector<InventoryRow> rows;
    const auto tsv = readTsv(data + "mib-objects.tsv");
    for (size_t i = 1; i < tsv.size(); ++i) {
        const auto &f = tsv[i];
        InventoryRow row{f[0], f[1], f[3], f[5], f[6], f[7], f[10]};
        if (const auto k = row.wire.find("<k>"); k != std::string::npos)
            row.wire.replace(k, 3, "1");
        if (row.syntax == "(not stated)")
            row.syntax = chosen.count(row.wire) ? chosen[row.wire] : chosen[row.name];
        rows.push_back(row);
    }
    return rows;
}

unsigned char asnTypeOf(const std::string &syntax)
{
    if (syntax == "INTEGER") return ASN_INTEGER;
    if (syntax == "IpAddress") return ASN_IPADDRESS;
    if (syntax == "TimeTicks") return ASN_TIMETICKS;
    if (syntax == "OBJECT IDENTIFIER") return ASN_OBJECT_ID;
    return ASN_OCTET_STR;
}

} // namespace qrt::test
