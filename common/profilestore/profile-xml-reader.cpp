// The profile file's reader on expat. A stack of levels follows the document: the root
// dictionary, a class dictionary, one of its sub-dictionaries, and anything else the file
// may hold (skipped, but still required to be a property list).
//
// The text is parsed as UTF-8 first. Text that is not (a name with broken bytes, say) is
// parsed again as ISO-8859-1, in which every byte is a character; either way each value is
// taken from the file's own bytes, so the store's UTF-8 checks see exactly what the file
// holds.

#include "profile-xml-reader.hpp"

#include <expat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "preferences-folder.hpp"
#include "profile-store.hpp"

namespace t48::store::detail {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A profile file nests four levels deep; anything far deeper is not one.
constexpr int kMaxDepth = 64;

enum class Element : uint8_t {
    kPlist,
    kDict,
    kArray,
    kKey,
    kString,
    kInteger,
    kReal,
    kTrue,
    kFalse,
    kData,
    kDate,
    kUnknown
};

struct ElementName {
    const char* name;
    Element element;
};
constexpr ElementName kElements[] = {
    {"key", Element::kKey},   {"integer", Element::kInteger}, {"string", Element::kString},
    {"dict", Element::kDict}, {"plist", Element::kPlist},     {"array", Element::kArray},
    {"real", Element::kReal}, {"true", Element::kTrue},       {"false", Element::kFalse},
    {"data", Element::kData}, {"date", Element::kDate},
};

Element elementOf(const XML_Char* name) {
    for (const ElementName& known : kElements) {
        if (name[0] == known.name[0] && std::strcmp(name, known.name) == 0) {
            return known.element;
        }
    }
    return Element::kUnknown;
}

enum class Node : uint8_t {
    kDocument,
    kPlist,
    kRootDict,
    kClassDict,
    kFieldDict,
    kOtherDict,
    kArray,
    kValue,  // a scalar value or a key: text only
};

// What the text of a scalar value is for.
enum class Use : uint8_t { kNone, kKey, kCount, kSlot };

// What the value after a dictionary's key goes to.
enum class Target : uint8_t { kNone, kClass, kField, kCount, kSlot };

struct Level {
    Node node;
    Use use = Use::kNone;
    bool rawText = false;     // an integer's text: references stay as written
    bool keyPending = false;  // dictionaries: a key was read, its value comes next
    Target target = Target::kNone;
    int8_t classIndex = -1;
    int8_t field = -1;
    int16_t slot = -1;
};

bool isContainer(Node node) {
    return node != Node::kDocument && node != Node::kValue;
}

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// An integer's text as the property-list library reads it: leading white space, one sign,
// then a number in C's notation (decimal, 0x hexadecimal, 0 octal) up to the first
// character that is not part of it; no digits read as 0. Past 64 bits it fails.
bool parseInteger(const std::string& text, bool* negative, uint64_t* magnitude) {
    const char* p = text.c_str();
    while (isXmlSpace(*p)) {
        ++p;
    }
    *negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    errno = 0;
    *magnitude = std::strtoull(p, nullptr, 0);
    return errno != ERANGE;
}

// One parser per thread, reset for each read: a reset keeps the parser's buffers and
// memory pools, which a new parser would allocate afresh.
XML_Parser resetParser(const char* encoding) {
    struct Owned {
        XML_Parser parser = nullptr;
        ~Owned() {
            if (parser != nullptr) {
                XML_ParserFree(parser);
            }
        }
    };
    thread_local Owned owned;
    if (owned.parser == nullptr) {
        owned.parser = XML_ParserCreate(encoding);
    } else if (XML_ParserReset(owned.parser, encoding) != XML_TRUE) {
        XML_ParserFree(owned.parser);
        owned.parser = XML_ParserCreate(encoding);
    }
    return owned.parser;
}

class Reader {
public:
    Reader(std::string_view xml, ProfileFileContent* content, const char* encoding)
        : begin_(xml.data()), end_(xml.data() + xml.size()), content_(content) {
        parser_ = resetParser(encoding);
        if (parser_ == nullptr) {
            return;
        }
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, onStart, onEnd);
        XML_SetCharacterDataHandler(parser_, onText);
        XML_SetStartCdataSectionHandler(parser_, onCdata);
        XML_SetProcessingInstructionHandler(parser_, onInstruction);
        XML_SetEntityDeclHandler(parser_, onEntityDeclaration);
        XML_SetSkippedEntityHandler(parser_, onSkippedEntity);
        levels_[0] = Level{Node::kDocument};
        depth_ = 1;
        for (StagedClass& staged : content_->classes) {
            staged.reset();
        }
    }
    ~Reader() = default;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    enum class Outcome { kRead, kNotAProfileFile, kNotInThisEncoding };

    Outcome run() {
        if (parser_ == nullptr) {
            return Outcome::kNotAProfileFile;
        }
        XML_Parse(parser_, begin_, static_cast<int>(end_ - begin_), XML_TRUE);
        // Parsing stops on purpose when the root dictionary ends: what follows the root is
        // not read (nor does the property-list library read it).
        if (rootDone_ && !failed_) {
            return Outcome::kRead;
        }
        // Only a byte the encoding cannot take makes another encoding worth a try.
        XML_Error error = XML_GetErrorCode(parser_);
        bool encodingError = error == XML_ERROR_INVALID_TOKEN || error == XML_ERROR_PARTIAL_CHAR;
        return failed_ || !encodingError ? Outcome::kNotAProfileFile : Outcome::kNotInThisEncoding;
    }

private:
    static Reader& self(void* userData) { return *static_cast<Reader*>(userData); }

    void fail() {
        failed_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

    Level& top() { return levels_[depth_ - 1]; }

    void push(const Level& level) {
        if (depth_ == kMaxDepth) {
            fail();
            return;
        }
        levels_[depth_++] = level;
    }

    StagedClass& staged(const Level& level) { return content_->classes[level.classIndex]; }

    void clearField(StagedClass& staged, int field) {
        std::memset(staged.present[field], 0, sizeof staged.present[field]);
    }

    // A value element inside a dictionary, after its key.
    void startDictionaryValue(Level& dict, Element element) {
        bool isDict = element == Element::kDict;
        Level inner{isDict                       ? Node::kOtherDict
                    : element == Element::kArray ? Node::kArray
                                                 : Node::kValue};
        switch (dict.target) {
            case Target::kClass: {
                StagedClass& c = content_->classes[dict.classIndex];
                c.reset();
                c.found = isDict;
                if (isDict) {
                    inner.node = Node::kClassDict;
                    inner.classIndex = dict.classIndex;
                }
                break;
            }
            case Target::kField: {
                StagedClass& c = staged(dict);
                clearField(c, dict.field);
                c.hasField[dict.field] = isDict;
                if (isDict) {
                    inner.node = Node::kFieldDict;
                    inner.classIndex = dict.classIndex;
                    inner.field = dict.field;
                }
                break;
            }
            case Target::kCount:
                staged(dict).hasCount = false;
                if (element == Element::kInteger) {
                    inner.use = Use::kCount;
                    inner.rawText = true;
                }
                break;
            case Target::kSlot: {
                staged(dict).present[dict.field][dict.slot] = false;
                bool text = isTextField(static_cast<Field>(dict.field));
                if (element == (text ? Element::kString : Element::kInteger)) {
                    inner.use = Use::kSlot;
                    inner.rawText = !text;
                }
                break;
            }
            case Target::kNone:
                break;
        }
        beginText();
        push(inner);
    }

    void start(const XML_Char* name) {
        Level& parent = top();
        Element element = elementOf(name);
        if (parent.node == Node::kValue || element == Element::kUnknown ||
            element == Element::kPlist) {
            // A value holds text only; "plist" may only be the document's element.
            if (element == Element::kPlist && parent.node == Node::kDocument) {
                push(Level{Node::kPlist});
                return;
            }
            fail();
            return;
        }
        switch (parent.node) {
            case Node::kDocument:
            case Node::kPlist:
                if (element != Element::kDict) {
                    fail();  // the root is not a dictionary
                    return;
                }
                push(Level{Node::kRootDict});
                return;
            case Node::kArray: {
                Node node = element == Element::kDict    ? Node::kOtherDict
                            : element == Element::kArray ? Node::kArray
                                                         : Node::kValue;
                push(Level{node});
                return;
            }
            default:
                break;
        }
        // A dictionary: a key, then its value.
        if (!parent.keyPending) {
            if (element != Element::kKey) {
                fail();
                return;
            }
            Level key{Node::kValue};
            key.use = Use::kKey;
            beginText();
            push(key);
            return;
        }
        if (element == Element::kKey) {
            fail();
            return;
        }
        parent.keyPending = false;
        startDictionaryValue(parent, element);
    }

    // The key just read sets what the dictionary's next value goes to.
    void keyRead(Level& dict, std::string_view key) {
        dict.keyPending = true;
        dict.target = Target::kNone;
        switch (dict.node) {
            case Node::kRootDict:
                for (int c = 0; c < kProfileClassCount; ++c) {
                    if (key == profileClassKey(c)) {
                        dict.target = Target::kClass;
                        dict.classIndex = static_cast<int8_t>(c);
                    }
                }
                break;
            case Node::kClassDict:
                if (key == cCountKey) {
                    dict.target = Target::kCount;
                }
                for (int f = 0; f < kFieldCount; ++f) {
                    if (key == kFieldKeys[f]) {
                        dict.target = Target::kField;
                        dict.field = static_cast<int8_t>(f);
                    }
                }
                break;
            case Node::kFieldDict: {
                int slot = slotOfKey(key, static_cast<Field>(dict.field));
                if (slot >= 0) {
                    dict.target = Target::kSlot;
                    dict.slot = static_cast<int16_t>(slot);
                }
                break;
            }
            default:
                break;
        }
    }

    void valueRead(const Level& value, Level& parent) {
        switch (value.use) {
            case Use::kKey:
                keyRead(parent, text());
                break;
            case Use::kCount: {
                bool negative = false;
                uint64_t magnitude = 0;
                StagedClass& c = staged(parent);
                c.hasCount = parseInteger(ownedText(), &negative, &magnitude) &&
                             storeInteger(negative, magnitude, &c.count);
                break;
            }
            case Use::kSlot: {
                StagedClass& c = staged(parent);
                ProfileEntry& entry = c.value[parent.slot];
                auto field = static_cast<Field>(parent.field);
                bool stored;
                if (isTextField(field)) {
                    stored = storeText(text(), entry.*kTextMembers[field]);
                } else {
                    bool negative = false;
                    uint64_t magnitude = 0;
                    stored = parseInteger(ownedText(), &negative, &magnitude) &&
                             storeInteger(negative, magnitude, &(entry.*kIntegerMembers[field]));
                }
                c.present[field][parent.slot] = stored;
                break;
            }
            case Use::kNone:
                break;
        }
    }

    void end() {
        Level level = top();
        --depth_;
        Level& parent = top();
        if (level.node == Node::kValue) {
            valueRead(level, parent);
        } else if (level.node == Node::kRootDict) {
            rootDone_ = true;
            XML_StopParser(parser_, XML_FALSE);
        } else if (level.node == Node::kPlist) {
            fail();  // a plist element without a root value
        }
    }

    // The text of the current value: a view into the file while it came in one piece,
    // else a copy gathered from its pieces.
    void beginText() {
        view_ = {};
        text_.clear();
        viewing_ = true;
    }
    std::string_view text() const { return viewing_ ? view_ : std::string_view(text_); }
    const std::string& ownedText() {
        if (viewing_) {
            text_.assign(view_);
            viewing_ = false;
        }
        return text_;
    }
    // `inFile`: the bytes lie in the file's text and outlive the value; a view will do.
    void append(const char* s, std::size_t length, bool inFile = true) {
        if (inFile && viewing_ && view_.empty()) {
            view_ = std::string_view(s, length);
            return;
        }
        ownedText();
        text_.append(s, length);
    }

    // Text the parser made rather than found in the file: a reference, a line end or
    // converted characters. Takes the file's own bytes for it, except that a reference in
    // a key or string stands for its character.
    void appendMadeText(const XML_Char* s, int length, bool rawReferences) {
        XML_Index index = XML_GetCurrentByteIndex(parser_);
        int count = XML_GetCurrentByteCount(parser_);
        if (index < 0 || count <= 0 || index + count > end_ - begin_) {
            fail();
            return;
        }
        const char* raw = begin_ + index;
        const char* rawEnd = raw + count;
        if (*raw == '&' && !rawReferences) {
            append(s, static_cast<std::size_t>(length), false);
            return;
        }
        // A run of converted characters may come in pieces that each report the whole run.
        if (raw < consumed_) {
            raw = consumed_;
        }
        if (raw < rawEnd) {
            append(raw, static_cast<std::size_t>(rawEnd - raw));
            consumed_ = rawEnd;
        }
    }

    // Where the parser's copy of the input starts in the file. XML_Parse works on a copy in
    // its own buffer; text it reports from there is the file's bytes as they stand, and is
    // read through a pointer into the file. Found at the first text, once the whole file
    // is known to lie in the buffer; else every text is found by its byte index instead.
    void locateBuffer() {
        bufferLocated_ = true;
        int offset = 0;
        int size = 0;
        const char* buffer = XML_GetInputContext(parser_, &offset, &size);
        XML_Index index = XML_GetCurrentByteIndex(parser_);
        if (buffer == nullptr || index < 0 || index > offset) {
            return;
        }
        const char* start = buffer + offset - index;
        if (start + (end_ - begin_) <= buffer + size &&
            std::memcmp(start, begin_, static_cast<std::size_t>(end_ - begin_)) == 0) {
            bufferStart_ = start;
        }
    }

    // The file's own bytes for text the parser reports, or nullptr for text it made.
    const char* inFile(const XML_Char* s, int length) {
        if (!bufferLocated_) {
            locateBuffer();
        }
        if (bufferStart_ != nullptr && s >= bufferStart_ &&
            s + length <= bufferStart_ + (end_ - begin_)) {
            return begin_ + (s - bufferStart_);
        }
        return s >= begin_ && s + length <= end_ ? s : nullptr;
    }

    void onCharacters(const XML_Char* s, int length) {
        Level& level = top();
        const char* fromFile = inFile(s, length);
        if (level.node == Node::kValue) {
            if (level.use == Use::kNone) {
                return;
            }
            if (fromFile != nullptr) {
                append(fromFile, static_cast<std::size_t>(length));
            } else {
                appendMadeText(s, length, level.rawText);
            }
            return;
        }
        if (!isContainer(level.node)) {
            return;
        }
        // Between elements only white space, and only as it stands in the file.
        if (fromFile == nullptr) {
            XML_Index index = XML_GetCurrentByteIndex(parser_);
            if (index < 0 || begin_[index] == '&') {
                fail();
            }
            return;
        }
        for (int i = 0; i < length; ++i) {
            if (!isXmlSpace(s[i])) {
                fail();
                return;
            }
        }
    }

    // The parser may still report the rest of the current tag after a stop (the end of an
    // empty element), so every handler first checks that reading goes on.
    bool reading() const { return !failed_ && !rootDone_; }

    static void XMLCALL onStart(void* userData, const XML_Char* name, const XML_Char** /*attrs*/) {
        if (self(userData).reading()) {
            self(userData).start(name);
        }
    }
    static void XMLCALL onEnd(void* userData, const XML_Char* /*name*/) {
        if (self(userData).reading()) {
            self(userData).end();
        }
    }
    static void XMLCALL onText(void* userData, const XML_Char* s, int length) {
        if (self(userData).reading()) {
            self(userData).onCharacters(s, length);
        }
    }
    static void XMLCALL onCdata(void* userData) {
        Reader& reader = self(userData);
        if (reader.top().node != Node::kValue) {
            reader.fail();  // character data sections only inside a value
        }
    }
    static void XMLCALL onInstruction(void* userData, const XML_Char*, const XML_Char*) {
        Reader& reader = self(userData);
        if (reader.top().node == Node::kValue) {
            reader.fail();
        }
    }
    static void XMLCALL onEntityDeclaration(void* userData, const XML_Char*, int, const XML_Char*,
                                            int, const XML_Char*, const XML_Char*, const XML_Char*,
                                            const XML_Char*) {
        self(userData).fail();
    }
    static void XMLCALL onSkippedEntity(void* userData, const XML_Char*, int) {
        self(userData).fail();
    }

    const char* begin_;
    const char* end_;
    const char* consumed_ = nullptr;
    const char* bufferStart_ = nullptr;
    bool bufferLocated_ = false;
    ProfileFileContent* content_;
    XML_Parser parser_ = nullptr;
    Level levels_[kMaxDepth];
    int depth_ = 0;
    bool failed_ = false;
    bool rootDone_ = false;
    std::string text_;
    std::string_view view_;
    bool viewing_ = true;
};

}  // namespace

int parseProfileFile(std::string_view xml, ProfileFileContent* content) {
    if (xml.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        xml.remove_prefix(kByteOrderMark.size());
    }
    if (xml.empty() || xml.size() > kMaxProfileFileSize) {
        return kStoreFailed;
    }
    Reader::Outcome outcome = Reader(xml, content, "UTF-8").run();
    if (outcome == Reader::Outcome::kNotInThisEncoding) {
        outcome = Reader(xml, content, "ISO-8859-1").run();
    }
    return outcome == Reader::Outcome::kRead ? kStoreOK : kStoreFailed;
}

}  // namespace t48::store::detail
