#include "wide-integers.hpp"

#include <cstring>
#include <vector>

namespace t48::discovery::detail {
namespace {

using Receive = int (*)(netsnmp_transport*, void*, int, void**, int*);

struct Watch {
    Receive receive = nullptr;
    std::vector<std::vector<oid>> wideNames;  // of the latest datagram
};

Watch& watch() {
    static Watch current;
    return current;
}

constexpr u_char kSequence = ASN_SEQUENCE | ASN_CONSTRUCTOR;
constexpr std::size_t kInt32Bytes = 4;

// A two's complement big-endian number of `length` bytes; leading bytes that only
// repeat the sign do not change it.
bool outsideInt32(const u_char* content, std::size_t length) {
    while (length > kInt32Bytes && ((content[0] == 0x00 && (content[1] & 0x80) == 0) ||
                                    (content[0] == 0xFF && (content[1] & 0x80) != 0))) {
        ++content;
        --length;
    }
    return length > kInt32Bytes;
}

// Skips one INTEGER or OCTET STRING element of the message header.
u_char* skipElement(u_char* data, std::size_t* length) {
    std::size_t elementLength = *length;
    u_char type = 0;
    u_char* content = asn_parse_header(data, &elementLength, &type);
    if (content == nullptr) {
        return nullptr;
    }
    *length -= static_cast<std::size_t>(content - data) + elementLength;
    return content + elementLength;
}

// The names of the wide INTEGER values of one SNMPv1 or v2c message; a message of
// another shape gives none.
void noteWideIntegers(u_char* data, std::size_t length) {
    std::vector<std::vector<oid>>& wide = watch().wideNames;
    wide.clear();
    u_char type = 0;
    u_char* p = asn_parse_sequence(data, &length, &type, kSequence, "message");
    for (int i = 0; p != nullptr && i < 2; ++i) {  // version, community
        p = skipElement(p, &length);
    }
    if (p != nullptr) {
        p = asn_parse_header(p, &length, &type);  // the PDU
    }
    for (int i = 0; p != nullptr && i < 3; ++i) {  // request id, error status and index
        p = skipElement(p, &length);
    }
    if (p != nullptr) {
        p = asn_parse_sequence(p, &length, &type, kSequence, "varbinds");
    }
    while (p != nullptr && length > 0) {
        oid name[MAX_OID_LEN];
        std::size_t nameLength = MAX_OID_LEN;
        u_char valueType = 0;
        std::size_t contentLength = 0;
        u_char* value = nullptr;
        p = snmp_parse_var_op(p, name, &nameLength, &valueType, &contentLength, &value, &length);
        if (p == nullptr || valueType != ASN_INTEGER) {
            continue;
        }
        // The value's element, header included, ends where the next variable begins.
        std::size_t element = static_cast<std::size_t>(p - value);
        u_char* content = asn_parse_header(value, &element, &valueType);
        if (content != nullptr && outsideInt32(content, element)) {
            wide.emplace_back(name, name + nameLength);
        }
    }
}

int receiveAndWatch(netsnmp_transport* transport, void* buffer, int size, void** opaque,
                    int* opaqueLength) {
    const int received = watch().receive(transport, buffer, size, opaque, opaqueLength);
    if (received > 0) {
        noteWideIntegers(static_cast<u_char*>(buffer), static_cast<std::size_t>(received));
    }
    return received;
}

}  // namespace

void watchWideIntegers(netsnmp_session* session) {
    stopWatchingWideIntegers();
    void* handle = session != nullptr ? snmp_sess_pointer(session) : nullptr;
    netsnmp_transport* transport = handle != nullptr ? snmp_sess_transport(handle) : nullptr;
    if (transport == nullptr || transport->f_recv == nullptr) {
        return;
    }
    watch().receive = transport->f_recv;
    transport->f_recv = receiveAndWatch;
}

void stopWatchingWideIntegers() {
    watch().receive = nullptr;
    watch().wideNames.clear();
}

bool isWideInteger(const netsnmp_variable_list* variable) {
    if (variable == nullptr || variable->type != ASN_INTEGER) {
        return false;
    }
    for (const std::vector<oid>& name : watch().wideNames) {
        if (snmp_oid_compare(name.data(), name.size(), variable->name, variable->name_length) ==
            0) {
            return true;
        }
    }
    return false;
}

}  // namespace t48::discovery::detail
