#include "profile-command.hpp"

#include <cstdio>

namespace t48::pde {
namespace {

std::string postScriptString(std::string_view bytes) {
    std::string text = "(";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            text += '\\';
            text += c;
        } else if (b < 0x20 || b >= 0x7F || c == '"') {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", b);
            text += octal;
        } else {
            text += c;
        }
    }
    return text + ")";
}

}  // namespace

std::string profileSelectCommand(std::string_view option, std::string_view path) {
    return "<</" + std::string(option) + "Profile " + postScriptString(path) + ">>setpagedevice";
}

}  // namespace t48::pde
