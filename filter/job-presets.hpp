#pragma once
// The PPD's presets as cupsd applies them: for a job that carries print-color-mode or
// print-quality, cupsd adds the options of the *APPrinterPreset of that colour mode and
// quality which the job lacks. A value a job has may so be the preset's, not the user's.

#include <string>
#include <string_view>
#include <vector>

#include "profile-commands.hpp"

namespace t48::filter {

struct JobPreset {
    std::vector<JobOption> options;  // "*KEY CHOICE" pairs, without the star
    std::string outputMode;          // "color" or "monochrome"
    std::string quality;             // "low", "mid" or "high"
};

// One *APPrinterPreset's value text.
JobPreset parsePreset(std::string_view text);

// The options cupsd's preset adds for the job's `options` (nothing when they carry
// neither print-color-mode nor print-quality), from the PPD's `presets`.
std::vector<JobOption> presetOptionsFor(const std::vector<JobOption>& options,
                                        const std::vector<JobPreset>& presets);

}  // namespace t48::filter
