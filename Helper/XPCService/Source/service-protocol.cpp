#include "service-protocol.hpp"

#include "zt-xpc-protocol.hpp"

namespace t48::xpc {

const ProtocolMethod ZT_XPC_Protocol[kProtocolMethodCount] = {
    {protocol::kIsAdminProfile, RequestGrammar::kPath, &ZTmacServiceXPC::ztPListIsAdminProfile_XPC},
    {protocol::kSwapProfile, RequestGrammar::kSwap, &ZTmacServiceXPC::ztPListSwapProfile_XPC},
    {protocol::kExistProfile, RequestGrammar::kPath, &ZTmacServiceXPC::ztPListExistProfile_XPC},
    {protocol::kRemove, RequestGrammar::kPath, &ZTmacServiceXPC::ztPListRemove_XPC},
    {protocol::kWriteDictionary, RequestGrammar::kURLText,
     &ZTmacServiceXPC::writeDictionaryToPlistFile_XPC},
    {protocol::kWriteData, RequestGrammar::kURLText, &ZTmacServiceXPC::writeDataToPlistFile_XPC},
    {protocol::kWriteDataRename, RequestGrammar::kURL,
     &ZTmacServiceXPC::writeDataToPlistFileRename_XPC},
    {protocol::kMibWalk, RequestGrammar::kWalk, &ZTmacServiceXPC::mibwalk_XPC},
};

const ProtocolMethod* findProtocolMethod(std::string_view name) {
    for (const ProtocolMethod& method : ZT_XPC_Protocol) {
        if (method.name == name) {
            return &method;
        }
    }
    return nullptr;
}

bool ZTmacServiceXPC::invoke(const std::string& method, const std::string& request,
                             std::string* reply) {
    const ProtocolMethod* row = findProtocolMethod(method);
    if (row == nullptr) {
        return false;
    }
    (this->*(row->handler))(request, [reply](const std::string& text) { *reply = text; });
    return true;
}

}  // namespace t48::xpc
