#include "profile-table-columns.hpp"

#include <cstring>

#include "spool-list.hpp"

namespace t48::discovery::detail {

#define T48_PROFILE_ENTRY 1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1
const oid iOidIndexOnDevice[] = {T48_PROFILE_ENTRY, 1};
const oid iOidSourceType[] = {T48_PROFILE_ENTRY, 2};
const oid iOidProfileName[] = {T48_PROFILE_ENTRY, 3};
const oid iOidFileName[] = {T48_PROFILE_ENTRY, 4};
const oid iOidProfileClass[] = {T48_PROFILE_ENTRY, 5};
const oid iOidProfileAvailability[] = {T48_PROFILE_ENTRY, 7};
#undef T48_PROFILE_ENTRY

const TableColumn kTableColumns[] = {
    {iOidIndexOnDevice, ASN_INTEGER, SpoolField::IndexOnDevice},
    {iOidSourceType, ASN_INTEGER, SpoolField::Location},
    {iOidProfileName, ASN_OCTET_STR, SpoolField::ProfileName},
    {iOidFileName, ASN_OCTET_STR, SpoolField::FileName},
    {iOidProfileClass, ASN_INTEGER, SpoolField::ProfileClass},
    {iOidProfileAvailability, ASN_INTEGER, SpoolField::DriverAvail},
};
const std::size_t kTableColumnCount = sizeof(kTableColumns) / sizeof(kTableColumns[0]);

const TableColumn* findColumn(const oid* name, std::size_t nameLength) {
    if (name == nullptr || nameLength < kColumnPrefixLength) {
        return nullptr;
    }
    for (const TableColumn& column : kTableColumns) {
        if (std::memcmp(column.prefix, name, kColumnPrefixLength * sizeof(oid)) == 0) {
            return &column;
        }
    }
    return nullptr;
}

}  // namespace t48::discovery::detail
