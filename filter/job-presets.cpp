#include "job-presets.hpp"

#include <algorithm>
#include <sstream>

namespace t48::filter {
namespace {

constexpr char kQualityKey[] = "com.apple.print.preset.quality";
constexpr char kOutputModeKey[] = "com.apple.print.preset.output-mode";

const std::string* optionValue(const std::vector<JobOption>& options, std::string_view name) {
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&](const JobOption& option) { return option.first == name; });
    return found != options.end() ? &found->second : nullptr;
}

// cupsd's reading of print-quality (IPP enum 3 draft, 4 normal, 5 high; normal when
// absent) as a preset's quality.
std::string presetQuality(const std::string* printQuality) {
    if (printQuality != nullptr && *printQuality == "3") {
        return "low";
    }
    return printQuality != nullptr && *printQuality == "5" ? "high" : "mid";
}

}  // namespace

JobPreset parsePreset(std::string_view text) {
    JobPreset preset;
    std::istringstream words{std::string(text)};
    for (std::string word, value; words >> word && words >> value;) {
        if (word == kQualityKey) {
            preset.quality = value;
        } else if (word == kOutputModeKey) {
            preset.outputMode = value;
        } else if (word.size() > 1 && word[0] == '*') {
            preset.options.emplace_back(word.substr(1), value);
        }
    }
    return preset;
}

std::vector<JobOption> presetOptionsFor(const std::vector<JobOption>& options,
                                        const std::vector<JobPreset>& presets) {
    const std::string* colorMode = optionValue(options, "print-color-mode");
    const std::string* quality = optionValue(options, "print-quality");
    if (colorMode == nullptr && quality == nullptr) {
        return {};
    }
    // cupsd takes any mode but monochrome for colour.
    const std::string mode =
        colorMode != nullptr && *colorMode == "monochrome" ? "monochrome" : "color";
    const std::string wanted = presetQuality(quality);
    for (const JobPreset& preset : presets) {
        if (preset.outputMode == mode && preset.quality == wanted) {
            return preset.options;
        }
    }
    return {};
}

}  // namespace t48::filter
