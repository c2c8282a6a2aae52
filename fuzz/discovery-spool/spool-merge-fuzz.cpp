// Arbitrary variable lists from a printer through the spool step and the merge.
//
// Input: a sequence of variables, each
//   1 byte   name length (mod 129)
//   1 byte   column hint: < 0x80 puts the table entry and column (hint % 9) in front
//   n x 2 bytes remaining sub-identifiers (big-endian; 0xFFxx gives 2^32-1 - xx)
//   1 byte   ASN type
//   2 bytes  value length (big-endian, cut to what is left of the input)
//   value bytes (an INTEGER takes its first up to 8 bytes)
// and a final byte whose low bit is the walk's failure flag. After each input the spool
// list and the merged lists must hold at most 500 entries with every text field
// terminated inside its 32 bytes, and each merged list packed with its count equal to
// its slots in use. The merge runs on lists kept in memory for every input
// and, every 64th input, in full on the profile file.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "spool-list.hpp"

namespace {

using t48::discovery::PlistForSpool;
using t48::store::ProfileList;

constexpr unsigned kInputsPerFileMerge = 64;
const oid kColumnPrefix[] = {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1};

struct Input {
    const uint8_t* p;
    std::size_t left;
    bool take(std::size_t n) { return left >= n; }
    uint8_t byte() { return left ? (--left, *p++) : 0; }
    unsigned word() { return (static_cast<unsigned>(byte()) << 8) | byte(); }
};

void checkList(const ProfileList& list) {
    if (list.iNum < 0 || list.iNum > t48::store::kProfileSlots) {
        std::abort();
    }
    for (const auto& e : list.litem) {
        if (std::memchr(e.FileName, '\0', sizeof e.FileName) == nullptr ||
            std::memchr(e.ProfileName, '\0', sizeof e.ProfileName) == nullptr) {
            std::abort();
        }
    }
}

// A merged list as it is written: slots 0 to count - 1 in use, every other slot clear.
void checkPacked(const ProfileList& list) {
    static const t48::store::ProfileEntry clear{};
    for (int slot = 0; slot < t48::store::kProfileSlots; ++slot) {
        const t48::store::ProfileEntry& e = list.litem[slot];
        if (slot < list.iNum ? e.iInMenu == t48::store::kStateEmpty
                             : std::memcmp(&e, &clear, sizeof e) != 0) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static std::string root = "/tmp/t48-fuzz-spool-XXXXXX";
    if (mkdtemp(root.data()) == nullptr) {
        std::abort();
    }
    setenv("T48_ROOT", root.c_str(), 1);
    std::atexit([] { std::filesystem::remove_all(root); });
    if (t48::store::setServiceProfilePaths("fuzz", "T48") != t48::store::kStoreOK) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    t48::discovery::vSpoolPlist(nullptr, 0, nullptr, t48::discovery::kSpoolClear);
    Input in{data, size};
    static oid name[MAX_OID_LEN];
    static uint8_t value[65536 + 8];
    while (in.left > 1) {
        std::size_t length = in.byte() % (MAX_OID_LEN + 1);
        const uint8_t hint = in.byte();
        std::size_t at = 0;
        if (hint < 0x80 && length >= 16) {
            std::memcpy(name, kColumnPrefix, sizeof kColumnPrefix);
            name[15] = hint % 9;
            at = 16;
        }
        for (; at < length; ++at) {
            const unsigned w = in.word();
            name[at] = (w >> 8) == 0xFF ? 0xFFFFFFFFu - (w & 0xFF) : w;
        }
        netsnmp_variable_list var{};
        var.type = in.byte();
        std::size_t valueLength = in.word();
        if (valueLength > in.left) {
            valueLength = in.left;
        }
        std::memcpy(value, in.p, valueLength);
        in.p += valueLength;
        in.left -= valueLength;
        long integer = 0;
        std::memcpy(&integer, value, valueLength < sizeof integer ? valueLength : sizeof integer);
        if (var.type == ASN_OCTET_STR) {
            var.val.string = value;
            var.val_len = valueLength;
        } else {
            var.val.integer = &integer;
            var.val_len = sizeof integer;
        }
        t48::discovery::vSpoolPlist(name, length, &var, t48::discovery::kSpoolFileVariable);
        checkList(PlistForSpool);
    }
    const int failureFlag = in.byte() & 1;

    // The lists carry over from input to input as a profile file does from walk to walk.
    static ProfileList lists[3];
    t48::discovery::mergeSpoolIntoLists(failureFlag, &lists[0], &lists[1], &lists[2]);
    for (const ProfileList& list : lists) {
        checkList(list);
        checkPacked(list);
    }

    // The whole merge with its file read and (synced) write, now and then.
    static unsigned inputs = 0;
    if (inputs++ % kInputsPerFileMerge == 0) {
        t48::discovery::vRestructPlistSpool2Current(failureFlag);
        static ProfileList read[3];
        std::memset(read, 0, sizeof read);
        if (t48::store::ZTPListReadProfile_All(&read[0], &read[1], &read[2]) ==
            t48::store::kStoreOK) {
            for (const ProfileList& list : read) {
                checkList(list);
            }
        }
    }
    return 0;
}
