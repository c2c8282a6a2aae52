#pragma once
// The profile file's reader: one pass of a streaming XML parser (expat) over the file's
// text, filling the staged records straight from the parser's events. No tree is built.

#include <string_view>

#include "profile-file-content.hpp"

namespace t48::store::detail {

// Parses the text of a profile file into `content`. kStoreOK when the text is an XML
// property list whose root is a dictionary (a leading UTF-8 byte-order mark is skipped);
// kStoreFailed for anything else: text that is not well-formed XML, declares entities,
// nests deeper than a profile file could, or holds an element a property list has not.
//
// As in every property list, the last of duplicate keys in a dictionary counts. Text is
// taken byte for byte as the file holds it (bytes that are not UTF-8 included, so that the
// store's own checks decide about them), with character references decoded.
int parseProfileFile(std::string_view xml, ProfileFileContent* content);

}  // namespace t48::store::detail
