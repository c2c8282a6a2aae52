#include "ticket-file.hpp"

#include "property-list.hpp"

namespace t48::hosting {

bool readTicketFile(const std::string& path, cf::PrintSettings& settings, bool& found,
                    std::string& error) {
    found = false;
    cf::ValueRef stored;
    const int32_t status = cf::readPropertyListFile(path, stored);
    if (status == cf::kPlistFileNotFound) {
        return true;
    }
    if (status != cf::kPlistNoError) {
        error = "cannot read ticket " + path + " (status " + std::to_string(status) + ")";
        return false;
    }
    if (!stored->is(cf::ValueType::Dictionary)) {
        error = "ticket " + path + " is not a dictionary";
        return false;
    }
    settings = cf::PrintSettings(stored);
    found = true;
    return true;
}

bool writeTicketFile(const std::string& path, const cf::PrintSettings& settings,
                     std::string& error) {
    const int32_t status = cf::writePropertyListFile(path, *settings.dictionary());
    if (status != cf::kPlistNoError) {
        error = "cannot write ticket " + path + " (status " + std::to_string(status) + ")";
        return false;
    }
    return true;
}

}  // namespace t48::hosting
