#pragma once
// Property lists in XML form: parse, serialise, and whole-file read and write.

#include <cstdint>
#include <string>

#include "value.hpp"

namespace t48::cf {

enum PropertyListStatus : int32_t {
    kPlistNoError = 0,
    kPlistFileNotFound = -43,  // no such file
    kPlistIOError = -36,       // the file could not be read or written
    kPlistMalformed = -1,      // not an XML property list, or a string that is not UTF-8
    kPlistParamErr = -50,      // nothing to write
};

// Parses XML property-list text into `out`.
int32_t propertyListFromXML(const std::string& xml, ValueRef& out);
// Serialises `value` as XML property-list text; a string that is not UTF-8 refuses it.
int32_t propertyListToXML(const Value& value, std::string& xml);

int32_t readPropertyListFile(const std::string& path, ValueRef& out);
// Writes the whole file: new content to a temporary file in the same folder, flushed,
// then renamed over the old one.
int32_t writePropertyListFile(const std::string& path, const Value& value);

}  // namespace t48::cf
