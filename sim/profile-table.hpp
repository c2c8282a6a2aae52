#pragma once
// The printer profile table of a simulated T48 printer, as snmpd's pass_persist
// handler serves it: entry 1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1, then column, a fixed
// sub-identifier 1, then the row number.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace t48::sim {

using Oid = std::vector<uint32_t>;

// One row of the rows file: tab-separated index, source type, profile name, file name,
// class, column 6 (served, never interpreted) and availability, then optionally further
// integer columns (8 on), as a printer whose entry has more columns serves them.
struct ProfileRow {
    uint32_t index = 0;
    int32_t sourceType = 0;
    std::string profileName;
    std::string fileName;
    int32_t profileClass = 0;
    int32_t column6 = 0;
    int32_t availability = 0;
    std::vector<int32_t> moreColumns;
};

// A served value: its identifier, the pass_persist type word and the value text.
struct TableValue {
    Oid name;
    std::string type;
    std::string value;
};

// Reads a rows file; blank lines and lines starting with '#' are skipped. A line that
// is not a row ends the read with nullopt, so a broken fixture never serves half a table.
std::optional<std::vector<ProfileRow>> readRowsFile(const std::string& path);

// All values of the table in identifier order (column by column).
std::vector<TableValue> tableValues(const std::vector<ProfileRow>& rows);

// Dotted text (".1.3.6" or "1.3.6") to sub-identifiers; nullopt when it is not one.
std::optional<Oid> parseOid(const std::string& text);
std::string formatOid(const Oid& name);

// The value with exactly this name, or the first one after it; nullptr when none.
const TableValue* findExact(const std::vector<TableValue>& values, const Oid& name);
const TableValue* findNext(const std::vector<TableValue>& values, const Oid& name);

}  // namespace t48::sim
