#pragma once
// ZTmacServiceXPC: the object exported to one connection. It answers the eight requests of
// ZT_XPC_Protocol for the connection's requesting user, and holds nothing between requests.

#include <functional>
#include <string>
#include <string_view>

#include "requesting-user.hpp"
#include "xpc-listener.hpp"

namespace t48::xpc {

using ReplyBlock = std::function<void(const std::string&)>;

class ZTmacServiceXPC final : public ExportedObject {
public:
    explicit ZTmacServiceXPC(RequestingUser requester) : requester_(std::move(requester)) {}

    bool invoke(const std::string& method, const std::string& request, std::string* reply) override;

    // "TRUE" when the current file at the path may be written.
    void ztPListIsAdminProfile_XPC(std::string_view request, const ReplyBlock& reply);
    // Mode 2 backs the current file up to the previous path, 1 deletes the previous file,
    // 0 restores the previous file over the current one. "TRUE" unless refused.
    void ztPListSwapProfile_XPC(std::string_view request, const ReplyBlock& reply);
    // "TRUE" when the path opens for reading.
    void ztPListExistProfile_XPC(std::string_view request, const ReplyBlock& reply);
    // "TRUE" when the file at the path was removed.
    void ztPListRemove_XPC(std::string_view request, const ReplyBlock& reply);
    // Writes the text after ":AddURL:END" over the file at the URL before it.
    void writeDictionaryToPlistFile_XPC(std::string_view request, const ReplyBlock& reply);
    // One chunk of a forwarded save, into the temporary file beside the current file.
    void writeDataToPlistFile_XPC(std::string_view request, const ReplyBlock& reply);
    // Ends a forwarded save: installs the temporary file as the current file.
    void writeDataToPlistFileRename_XPC(std::string_view request, const ReplyBlock& reply);
    // Walks the printer and merges its profiles into the user's file: "iRet=<result>".
    void mibwalk_XPC(std::string_view request, const ReplyBlock& reply);

private:
    RequestingUser requester_;
};

}  // namespace t48::xpc
