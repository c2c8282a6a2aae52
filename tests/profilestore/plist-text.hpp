#pragma once
// Hand-made profile files, for contents the store's writer never produces.

#include <cstdio>
#include <map>
#include <string>

namespace t48::store::testing {

inline std::string slotKey(const std::string& field, int slot) {
    char key[64];
    std::snprintf(key, sizeof key, "%s%04d", field.c_str(), slot);
    return key;
}
inline std::string integerXml(long long value) {
    return "<integer>" + std::to_string(value) + "</integer>";
}
inline std::string stringXml(const std::string& text) {
    return "<string>" + text + "</string>";
}

// A class dictionary with the six sub-dictionaries, holding only the slots set.
struct ClassXml {
    std::map<std::string, std::string> subs{{"IndexOnDevice", ""}, {"InMenu", ""},
                                            {"ProfileClass", ""},  {"FileName", ""},
                                            {"ProfileName", ""},   {"Location", ""}};
    std::string extra;

    ClassXml& set(const std::string& field, int slot, const std::string& valueXml) {
        subs[field] += "<key>" + slotKey(field, slot) + "</key>" + valueXml;
        return *this;
    }
    // A used entry in `slot`: state, file name and location.
    ClassXml& entry(int slot, int state, const std::string& fileName, int location = 4) {
        return set("InMenu", slot, integerXml(state))
            .set("FileName", slot, stringXml(fileName))
            .set("Location", slot, integerXml(location));
    }
    ClassXml& count(int n) {
        extra += "<key>iNum</key>" + integerXml(n);
        return *this;
    }
    ClassXml& drop(const std::string& field) {
        subs.erase(field);
        return *this;
    }
    std::string xml() const {
        std::string out = "<dict>" + extra;
        for (const auto& [field, inner] : subs) {
            out += "<key>" + field + "</key><dict>" + inner + "</dict>";
        }
        return out + "</dict>";
    }
};

inline std::string rootXml(const std::string& inner) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + inner +
           "</dict></plist>\n";
}
inline std::string fileXml(
    const ClassXml& rgb, const ClassXml& sim, const ClassXml& dst,
    const std::string& extra = "<key>PlistVersion</key><integer>1</integer>") {
    return rootXml("<key>RGB</key>" + rgb.xml() + "<key>SIM</key>" + sim.xml() + "<key>DST</key>" +
                   dst.xml() + extra);
}

}  // namespace t48::store::testing
