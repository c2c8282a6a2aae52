#pragma once
// net-snmp cuts every INTEGER it decodes to 32 bits, so a printer's 4294967301 reaches
// the walk as 5. The walk's transport is therefore watched: each datagram received is
// read once more for INTEGER values whose encoding holds a number outside the signed
// 32-bit range.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace t48::discovery::detail {

// Watches the datagrams of the open session `session` until the next call or
// stopWatchingWideIntegers(); one session at a time per process.
void watchWideIntegers(netsnmp_session* session);
void stopWatchingWideIntegers();

// True when `variable` is an INTEGER of the latest datagram received whose value lies
// outside -2^31 to 2^31 - 1 (whatever the library made of it).
bool isWideInteger(const netsnmp_variable_list* variable);

}  // namespace t48::discovery::detail
