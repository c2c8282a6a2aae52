#pragma once
// UTF-8 as the system keeps its texts: decoding one character, validation, cutting at
// whole characters, repair of ill-formed bytes, and the characters an XML 1.0 file may
// hold. The property-list library stores bytes as given, so every text is checked here
// before it goes into or comes out of a file.

#include <cstddef>
#include <string>
#include <string_view>

namespace t48::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character starting at byte `*at` (< text.size()), or U+FFFD for the ill-formed
// sequence there (overlong forms, surrogates, values past U+10FFFF, cut or stray bytes:
// the longest start of a well-formed character, at least one byte); moves `*at` past it.
char32_t nextCharacter(std::string_view text, std::size_t* at);

void appendUtf8(std::string* out, char32_t c);

// True when `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

// True for the characters XML 1.0 allows in a document: tab, line feed, carriage return,
// U+0020-U+D7FF, U+E000-U+FFFD and U+10000-U+10FFFF.
bool isXmlCharacter(char32_t c);

// True when `text` is well-formed UTF-8 that an XML 1.0 reader accepts and hands back
// unchanged: every character is allowed by XML 1.0, and there is no carriage return (a
// reader turns it into a line feed).
bool isStorableText(std::string_view text);

// Length of the longest prefix of well-formed `text` of at most `limit` bytes that ends on
// a character boundary.
std::size_t wholeCharacterPrefix(std::string_view text, std::size_t limit);

// `text` with each ill-formed sequence (see nextCharacter) replaced by U+FFFD.
std::string withIllFormedReplaced(std::string_view text);

}  // namespace t48::text
