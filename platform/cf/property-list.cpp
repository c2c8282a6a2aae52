// The one adapter over libplist 2.2's C API (its API changes in 2.3). libplist checks
// no UTF-8, so every string is checked here on the way in and on the way out.

#include "property-list.hpp"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "utf8-text.hpp"
#include "whole-file.hpp"

namespace t48::cf {
namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

ValueRef fromNode(plist_t node, bool& ok);

ValueRef fromDictNode(plist_t node, bool& ok) {
    ValueRef dict = Value::dictionary();
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iter, &key, &item);
        if (key == nullptr) {
            break;
        }
        std::string keyText(key);
        free(key);
        if (!text::isValidUtf8(keyText)) {
            ok = false;
            break;
        }
        ValueRef value = fromNode(item, ok);
        if (!ok) {
            break;
        }
        if (value) {
            dict->set(keyText, std::move(value));
        }
    }
    free(iter);
    return dict;
}

ValueRef fromNode(plist_t node, bool& ok) {
    switch (plist_get_node_type(node)) {
        case PLIST_DICT:
            return fromDictNode(node, ok);
        case PLIST_ARRAY: {
            Array items;
            const uint32_t n = plist_array_get_size(node);
            for (uint32_t i = 0; i < n && ok; ++i) {
                if (ValueRef item = fromNode(plist_array_get_item(node, i), ok)) {
                    items.push_back(std::move(item));
                }
            }
            return Value::array(std::move(items));
        }
        case PLIST_STRING: {
            // libplist asserts in plist_get_string_val on a string with a NUL inside;
            // such a string cannot be ours, so it makes the file malformed.
            uint64_t length = 0;
            const char* text = plist_get_string_ptr(node, &length);
            std::string value = text != nullptr ? std::string(text, length) : std::string();
            if (value.find('\0') != std::string::npos || !text::isValidUtf8(value)) {
                ok = false;
                return nullptr;
            }
            return Value::string(std::move(value));
        }
        case PLIST_UINT: {
            uint64_t number = 0;
            plist_get_uint_val(node, &number);
            return Value::integer(static_cast<int64_t>(number));
        }
        case PLIST_REAL: {
            double number = 0;
            plist_get_real_val(node, &number);
            return Value::real(number);
        }
        case PLIST_BOOLEAN: {
            uint8_t flag = 0;
            plist_get_bool_val(node, &flag);
            return Value::boolean(flag != 0);
        }
        case PLIST_DATE: {
            int32_t sec = 0;
            int32_t usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return Value::date({sec + usec / 1e6});
        }
        case PLIST_DATA: {
            char* bytes = nullptr;
            uint64_t length = 0;
            plist_get_data_val(node, &bytes, &length);
            Data data(bytes, bytes + length);
            free(bytes);
            return Value::data(std::move(data));
        }
        default:
            // Keys and UIDs occur only in binary archives; an XML ticket has none.
            ok = false;
            return nullptr;
    }
}

plist_t toNode(const Value& value, bool& ok) {
    switch (value.type()) {
        case ValueType::String:
            if (!text::isValidUtf8(*value.asString())) {
                ok = false;
                return nullptr;
            }
            return plist_new_string(value.asString()->c_str());
        case ValueType::Integer:
            return plist_new_uint(static_cast<uint64_t>(*value.asInteger()));
        case ValueType::Real:
            return plist_new_real(*value.asReal());
        case ValueType::Boolean:
            return plist_new_bool(*value.asBoolean() ? 1 : 0);
        case ValueType::Date: {
            const double seconds = value.asDate()->seconds;
            const auto sec = static_cast<int32_t>(seconds);
            return plist_new_date(sec, static_cast<int32_t>((seconds - sec) * 1e6));
        }
        case ValueType::Data: {
            const Data& bytes = *value.asData();
            return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        case ValueType::Array: {
            plist_t node = plist_new_array();
            for (const ValueRef& item : *value.asArray()) {
                if (!item) {
                    continue;
                }
                plist_t child = toNode(*item, ok);
                if (!ok) {
                    plist_free(node);
                    return nullptr;
                }
                plist_array_append_item(node, child);
            }
            return node;
        }
        case ValueType::Dictionary: {
            plist_t node = plist_new_dict();
            for (const auto& [key, item] : *value.asDictionary()) {
                if (!item) {
                    continue;
                }
                plist_t child = text::isValidUtf8(key) ? toNode(*item, ok) : nullptr;
                if (!ok || child == nullptr) {
                    ok = false;
                    plist_free(node);
                    return nullptr;
                }
                plist_dict_set_item(node, key.c_str(), child);
            }
            return node;
        }
    }
    ok = false;
    return nullptr;
}

}  // namespace

int32_t propertyListFromXML(const std::string& xml, ValueRef& out) {
    if (xml.empty() || xml.size() > UINT32_MAX) {
        return kPlistMalformed;
    }
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    if (root == nullptr) {
        return kPlistMalformed;
    }
    PlistPtr owner(root);
    bool ok = true;
    ValueRef value = fromNode(root, ok);
    if (!ok || !value) {
        return kPlistMalformed;
    }
    out = std::move(value);
    return kPlistNoError;
}

int32_t propertyListToXML(const Value& value, std::string& xml) {
    bool ok = true;
    PlistPtr root(toNode(value, ok));
    if (!ok || !root) {
        return kPlistMalformed;
    }
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &text, &length);
    if (text == nullptr) {
        return kPlistMalformed;
    }
    xml.assign(text, length);
    plist_to_xml_free(text);
    return kPlistNoError;
}

int32_t readPropertyListFile(const std::string& path, ValueRef& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return errno == ENOENT ? kPlistFileNotFound : kPlistIOError;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        return kPlistIOError;
    }
    return propertyListFromXML(content.str(), out);
}

int32_t writePropertyListFile(const std::string& path, const Value& value) {
    if (path.empty()) {
        return kPlistParamErr;
    }
    std::string xml;
    if (int32_t status = propertyListToXML(value, xml); status != kPlistNoError) {
        return status;
    }
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return kPlistIOError;
    }
    if (!file::writeAll(fd, xml)) {
        close(fd);
        unlink(temporary.c_str());
        return kPlistIOError;
    }
    // mkstemp makes the file 0600; a ticket is as readable as any file the user writes.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    const bool flushed = fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!flushed || !closed || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return kPlistIOError;
    }
    return kPlistNoError;
}

}  // namespace t48::cf
