#include "snmp-walk.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "profile-store.hpp"
#include "snmp-library-state.hpp"
#include "spool-list.hpp"
#include "wide-integers.hpp"

namespace t48::discovery {
namespace {

constexpr char kWalkPrefix[] = "snmpwalk";
constexpr char kLocalOptions[] = "C:";
constexpr std::size_t kDebugMessageSize = 128;

// 1.3.6.1.2.1, the root when the arguments give none.
const oid objid_mib[] = {1, 3, 6, 1, 2, 1};

int numprinted = 0;
char sDEBUGmsg[kDebugMessageSize];

// Keeps what fits of a diagnostic, terminated; nothing reads it.
void setDebugMessage(const std::string& text) {
    const std::size_t length = std::min(text.size(), kDebugMessageSize - 1);
    std::memcpy(sDEBUGmsg, text.data(), length);
    sDEBUGmsg[length] = '\0';
}

// Every way argument parsing can stop maps to one of the two parser results.
int parserResult(int parsed) {
    return parsed == NETSNMP_PARSE_ARGS_SUCCESS_EXIT ? kWalkInfoOnly : kWalkUsage;
}

bool isException(u_char type) {
    return type == SNMP_NOSUCHOBJECT || type == SNMP_NOSUCHINSTANCE || type == SNMP_ENDOFMIBVIEW;
}

bool insideRoot(const netsnmp_variable_list* var, const oid* root, std::size_t rootLength) {
    return var->name_length >= rootLength &&
           std::memcmp(root, var->name, rootLength * sizeof(oid)) == 0;
}

// The state of one walk between its GET-NEXT requests.
struct WalkState {
    oid name[MAX_OID_LEN];
    std::size_t nameLength = 0;
    bool checkOrdering = true;
    bool running = true;
    int exitValue = kWalkComplete;
};

// Spools the variables of one answer and advances the request name.
void takeVariables(WalkState& walk, netsnmp_variable_list* vars, const oid* root,
                   std::size_t rootLength) {
    for (; vars != nullptr; vars = vars->next_variable) {
        if (!insideRoot(vars, root, rootLength)) {
            walk.running = false;
            continue;
        }
        ++numprinted;
        vSpoolPlist(vars->name, vars->name_length, vars,
                    detail::isWideInteger(vars) ? kSpoolUnusableVariable : kSpoolFileVariable);
        if (isException(vars->type)) {
            walk.running = false;
            continue;
        }
        if (vars->name_length > MAX_OID_LEN) {
            walk.running = false;
            walk.exitValue = kWalkFailed;
            continue;
        }
        if (walk.checkOrdering &&
            snmp_oid_compare(walk.name, walk.nameLength, vars->name, vars->name_length) >= 0) {
            char last[128];
            char received[128];
            snprint_objid(last, sizeof last, walk.name, walk.nameLength);
            snprint_objid(received, sizeof received, vars->name, vars->name_length);
            setDebugMessage(std::string("[SNMP] Error: OID not increasing: ") + last +
                            " >= " + received);
            walk.running = false;
            walk.exitValue = kWalkFailed;
        }
        std::memmove(walk.name, vars->name, vars->name_length * sizeof(oid));
        walk.nameLength = vars->name_length;
    }
}

// True when the request name moved forward since `before`.
bool advanced(const WalkState& walk, const oid* before, std::size_t beforeLength) {
    return snmp_oid_compare(before, beforeLength, walk.name, walk.nameLength) < 0;
}

// Sends GET-NEXT requests from `root` until the walk ends; answers the last status of
// snmp_synch_response.
int walkSubtree(netsnmp_session* session, WalkState& walk, const oid* root,
                std::size_t rootLength) {
    int status = STAT_SUCCESS;
    oid before[MAX_OID_LEN];
    for (int stalled = 0; walk.running;) {
        if (stalled == kMaxStalledRequests) {
            walk.exitValue = kWalkFailed;
            break;
        }
        const std::size_t beforeLength = walk.nameLength;
        std::memcpy(before, walk.name, beforeLength * sizeof(oid));
        netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GETNEXT);
        snmp_add_null_var(request, walk.name, walk.nameLength);
        netsnmp_pdu* response = nullptr;
        status = snmp_synch_response(session, request, &response);
        if (status == STAT_TIMEOUT) {
            walk.exitValue = kWalkFailed;
            walk.running = false;
        } else if (status != STAT_SUCCESS) {
            snmp_sess_perror(kWalkPrefix, session);
            walk.exitValue = kWalkFailed;
            walk.running = false;
        } else if (response->errstat == SNMP_ERR_NOSUCHNAME) {
            walk.running = false;  // the SNMPv1 end of the view
        } else if (response->errstat != SNMP_ERR_NOERROR) {
            walk.exitValue = kWalkAgentError;
            walk.running = false;
        } else {
            takeVariables(walk, response->variables, root, rootLength);
            stalled += advanced(walk, before, beforeLength) ? 0 : 1;
        }
        if (response != nullptr) {
            snmp_free_pdu(response);
        }
    }
    return status;
}

// net-snmp 5.9's parser hands the community over as a copy of its own, which the
// caller owns; older parsers point into the argument strings instead.
struct ParsedCommunity {
    u_char* owned = nullptr;
    ParsedCommunity(const netsnmp_session& session, const std::vector<std::string>& args) {
        const char* community = reinterpret_cast<const char*>(session.community);
        for (const std::string& a : args) {
            if (community >= a.data() && community <= a.data() + a.size()) {
                return;
            }
        }
        owned = session.community;
    }
    ~ParsedCommunity() { std::free(owned); }
    ParsedCommunity(const ParsedCommunity&) = delete;
    ParsedCommunity& operator=(const ParsedCommunity&) = delete;
};

int gLastMergeStatus = store::kStoreFailed;

}  // namespace

void optProc(int /*argc*/, char* const* /*argv*/, int opt) {
    if (opt != 'C') {
        return;
    }
    struct Letter {
        char letter;
        int id;
    };
    static constexpr Letter kLetters[] = {
        {'c', detail::kDontCheckOrdering},
        {'p', detail::kPrintStatistics},
        {'i', detail::kIncludeRequested},
    };
    for (const char* p = optarg; p != nullptr && *p != '\0'; ++p) {
        bool known = false;
        for (const Letter& l : kLetters) {
            if (*p == l.letter) {
                netsnmp_ds_toggle_boolean(NETSNMP_DS_APPLICATION_ID, l.id);
                known = true;
            }
        }
        if (!known) {
            setDebugMessage(std::string("Unknown flag passed to -C: ") + *p + "\n");
        }
    }
}

void snmp_get_and_print(netsnmp_session* session, const oid* name, std::size_t nameLength) {
    netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
    snmp_add_null_var(request, name, nameLength);
    netsnmp_pdu* response = nullptr;
    const int status = snmp_synch_response(session, request, &response);
    if (status == STAT_SUCCESS && response->errstat == SNMP_ERR_NOERROR) {
        for (netsnmp_variable_list* vars = response->variables; vars != nullptr;
             vars = vars->next_variable) {
            ++numprinted;
            print_variable(vars->name, vars->name_length, vars);
        }
    }
    if (response != nullptr) {
        snmp_free_pdu(response);
    }
}

int lastMergeStatus() {
    return gLastMergeStatus;
}

int walkIntoSpool(int argc, const char* const* argv) {
    detail::beginWalkWithCleanLibrary();
    vSpoolPlist(nullptr, 0, nullptr, kSpoolClear);
    numprinted = 0;
    sDEBUGmsg[0] = '\0';
    if (argc < 1 || argv == nullptr) {
        return kWalkUsage;
    }

    // The parser writes into the strings it is given and keeps pointers to them in the
    // session, so it works on copies that live as long as the walk.
    std::vector<std::string> copies(argv, argv + argc);
    std::vector<char*> args;
    for (std::string& s : copies) {
        args.push_back(s.data());
    }
    args.push_back(nullptr);

    netsnmp_session session;
    const int arg = netsnmp_parse_args(argc, args.data(), &session, kLocalOptions, optProc,
                                       NETSNMP_PARSE_ARGS_NOZERO);
    const ParsedCommunity community(session, copies);  // also when parsing stopped late
    if (arg < 0) {
        return parserResult(arg);
    }
    if (session.timeout == SNMP_DEFAULT_TIMEOUT) {
        session.timeout = kDefaultTimeoutMicroseconds;
    }
    if (session.retries == SNMP_DEFAULT_RETRIES) {
        session.retries = kDefaultRetries;
    }

    oid root[MAX_OID_LEN];
    std::size_t rootLength = MAX_OID_LEN;
    if (arg < argc) {
        if (snmp_parse_oid(args[arg], root, &rootLength) == nullptr) {
            snmp_perror(args[arg]);
            return kWalkFailed;
        }
    } else {
        rootLength = sizeof objid_mib / sizeof objid_mib[0];
        std::memcpy(root, objid_mib, sizeof objid_mib);
    }

    SOCK_STARTUP;
    netsnmp_session* ss = snmp_open(&session);
    if (ss == nullptr) {
        store::MyDebugMessage("[UTIL-MIB] SNMP Open Err\n", 0);
        snmp_sess_perror(kWalkPrefix, &session);
        SOCK_CLEANUP;
        return kWalkFailed;
    }

    detail::watchWideIntegers(ss);
    WalkState walk;
    std::memmove(walk.name, root, rootLength * sizeof(oid));
    walk.nameLength = rootLength;
    walk.checkOrdering =
        !netsnmp_ds_get_boolean(NETSNMP_DS_APPLICATION_ID, detail::kDontCheckOrdering);
    if (netsnmp_ds_get_boolean(NETSNMP_DS_APPLICATION_ID, detail::kIncludeRequested)) {
        snmp_get_and_print(ss, root, rootLength);
    }

    const int lastStatus = walkSubtree(ss, walk, root, rootLength);
    if (numprinted == 0 && lastStatus == STAT_SUCCESS) {
        snmp_get_and_print(ss, root, rootLength);
    }

    detail::stopWatchingWideIntegers();
    snmp_close(ss);
    SOCK_CLEANUP;
    if (netsnmp_ds_get_boolean(NETSNMP_DS_APPLICATION_ID, detail::kPrintStatistics)) {
        store::MyDebugMessage("[UTIL-MIB] Variables found: ", numprinted);
    }
    return walk.exitValue;
}

int mib_walk(int argc, const char* const* argv) {
    const int result = walkIntoSpool(argc, argv);
    // Argument parsing that stopped counts as a failed walk.
    gLastMergeStatus = vRestructPlistSpool2Current(result < 0 ? kWalkFailed : result);
    return result;
}

int walkProfileLists(int argc, const char* const* argv, store::ProfileList* rgb,
                     store::ProfileList* sim, store::ProfileList* dst) {
    const int result = walkIntoSpool(argc, argv);
    for (store::ProfileList* list : {rgb, sim, dst}) {
        std::memset(list, 0, sizeof *list);
    }
    if (result == kWalkComplete) {
        mergeSpoolIntoLists(result, rgb, sim, dst);
    }
    return result;
}

}  // namespace t48::discovery
