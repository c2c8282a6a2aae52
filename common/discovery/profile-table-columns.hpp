#pragma once
// The columns of the printer profile table that the spool list keeps (column 6 is
// served by the printer but not stored).

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstddef>

#include "profile-list.hpp"

namespace t48::discovery::detail {

enum class SpoolField { IndexOnDevice, Location, ProfileName, FileName, ProfileClass, DriverAvail };

struct TableColumn {
    const oid* prefix;  // the first 16 sub-identifiers of a value's name
    u_char asnType;
    SpoolField field;
};

extern const oid iOidIndexOnDevice[];
extern const oid iOidSourceType[];
extern const oid iOidProfileName[];
extern const oid iOidFileName[];
extern const oid iOidProfileClass[];
extern const oid iOidProfileAvailability[];

extern const TableColumn kTableColumns[];
extern const std::size_t kTableColumnCount;

// The column whose prefix starts `name`, or nullptr.
const TableColumn* findColumn(const oid* name, std::size_t nameLength);

}  // namespace t48::discovery::detail
