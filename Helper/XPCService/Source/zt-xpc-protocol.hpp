#pragma once
// The text that crosses between the helper command line and the service: the method
// names of ZT_XPC_Protocol, the markers that join the pieces of a request string, and
// the reply texts. Markers are matched as exact, case-sensitive substrings; the first
// occurrence counts.

#include <string>
#include <string_view>

namespace t48::xpc::protocol {

inline constexpr std::string_view kIsAdminProfile = "ztPListIsAdminProfile_XPC";
inline constexpr std::string_view kSwapProfile = "ztPListSwapProfile_XPC";
inline constexpr std::string_view kExistProfile = "ztPListExistProfile_XPC";
inline constexpr std::string_view kRemove = "ztPListRemove_XPC";
inline constexpr std::string_view kWriteDictionary = "writeDictionaryToPlistFile_XPC";
inline constexpr std::string_view kWriteData = "writeDataToPlistFile_XPC";
inline constexpr std::string_view kWriteDataRename = "writeDataToPlistFileRename_XPC";
inline constexpr std::string_view kMibWalk = "mibwalk_XPC";

// Swap: mode, kSwapTypeMarker, current path, kCurrentMarker, previous path, kPreviousMarker.
inline constexpr std::string_view kSwapTypeMarker = ":ARG_iSwapType";
inline constexpr std::string_view kCurrentMarker = ":ARG_cFooCurrentString";
inline constexpr std::string_view kPreviousMarker = ":ARG_cFooPrevString";
// The word that stands for an absent mode (0) or path.
inline constexpr std::string_view kAbsent = "NULL";

// The two URL writes: file URL, kURLMarker, content to the end.
inline constexpr std::string_view kURLMarker = ":AddURL:END";

// Walk: model, kModelMarker, user, kUserMarker, then every argument followed by kArgMarker.
inline constexpr std::string_view kModelMarker = ":ModelName:END";
inline constexpr std::string_view kUserMarker = ":USErName:END";
inline constexpr std::string_view kArgMarker = ":arg:";

inline constexpr std::string_view kReplyTrue = "TRUE";
inline constexpr std::string_view kReplyFalse = "FALSE";
inline constexpr std::string_view kWalkReplyPrefix = "iRet=";

inline std::string booleanReply(bool success) {
    return std::string(success ? kReplyTrue : kReplyFalse);
}
inline std::string walkReply(int result) {
    return std::string(kWalkReplyPrefix) + std::to_string(result);
}

}  // namespace t48::xpc::protocol
