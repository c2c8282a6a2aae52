#include "snmp-library-state.hpp"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace t48::discovery::detail {
namespace {

constexpr char kWalkApplication[] = "snmpwalk";
// The configuration type the library's argument parser initialises itself with.
constexpr char kLibraryConfigType[] = "snmpapp";
// The walk files values by their numeric identifiers and prints only a fallback nobody
// reads, so it needs no MIB module: no folder is searched for MIB files, and a remembered
// configuration line, applied after the configuration files, empties the module list.
constexpr char kNoMibFolders[] = "";
char noMibModulesLine[] = "mibs :";  // the library takes it as writable text

struct Registration {
    const char* token;
    int id;
};
constexpr Registration kWalkBooleans[] = {
    {"includeRequested", kIncludeRequested},
    {"printStatistics", kPrintStatistics},
    {"dontCheckOrdering", kDontCheckOrdering},
};

struct DefaultStoreSnapshot {
    bool booleans[NETSNMP_DS_MAX_IDS][NETSNMP_DS_MAX_SUBIDS];
    int integers[NETSNMP_DS_MAX_IDS][NETSNMP_DS_MAX_SUBIDS];
    std::optional<std::string> strings[NETSNMP_DS_MAX_IDS][NETSNMP_DS_MAX_SUBIDS];
    int debugging;
};

DefaultStoreSnapshot& snapshot() {
    static DefaultStoreSnapshot recorded{};
    return recorded;
}

void record(DefaultStoreSnapshot& s) {
    for (int store = 0; store < NETSNMP_DS_MAX_IDS; ++store) {
        for (int id = 0; id < NETSNMP_DS_MAX_SUBIDS; ++id) {
            s.booleans[store][id] = netsnmp_ds_get_boolean(store, id) != 0;
            s.integers[store][id] = netsnmp_ds_get_int(store, id);
            const char* text = netsnmp_ds_get_string(store, id);
            s.strings[store][id] = text ? std::optional<std::string>(text) : std::nullopt;
        }
    }
    s.debugging = snmp_get_do_debugging();
}

void restore(const DefaultStoreSnapshot& s) {
    for (int store = 0; store < NETSNMP_DS_MAX_IDS; ++store) {
        for (int id = 0; id < NETSNMP_DS_MAX_SUBIDS; ++id) {
            netsnmp_ds_set_boolean(store, id, s.booleans[store][id] ? 1 : 0);
            netsnmp_ds_set_int(store, id, s.integers[store][id]);
            const auto& text = s.strings[store][id];
            const char* current = netsnmp_ds_get_string(store, id);
            if (!text) {
                if (current != nullptr) {
                    netsnmp_ds_set_string(store, id, nullptr);
                }
            } else if (current == nullptr || *text != current) {
                netsnmp_ds_set_string(store, id, text->c_str());
            }
        }
    }
    snmp_set_do_debugging(s.debugging);
}

// glibc's getopt keeps a pointer into the previous argument vector when a scan stopped
// inside a cluster of letters; optind 0 makes it forget that before the next parse.
void resetGetopt() {
    char program[] = "snmpwalk";
    char* none[] = {program, nullptr};
    optind = 0;
    opterr = 0;
    (void)getopt(1, none, "");
    optind = 1;
    opterr = 1;
}

}  // namespace

void beginWalkWithCleanLibrary() {
    static bool initialised = false;
    if (!initialised) {
        for (const Registration& r : kWalkBooleans) {
            netsnmp_ds_register_config(ASN_BOOLEAN, kWalkApplication, r.token,
                                       NETSNMP_DS_APPLICATION_ID, r.id);
        }
        netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_MIBDIRS, kNoMibFolders);
        netsnmp_config_remember(noMibModulesLine);
        init_snmp(kLibraryConfigType);
        record(snapshot());
        initialised = true;
    } else {
        restore(snapshot());
    }
    resetGetopt();
}

}  // namespace t48::discovery::detail
