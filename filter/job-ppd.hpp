#pragma once
// The queue's PPD as the filter reads it: the choices pstops marked for the job, each
// option's first choice and each choice's code.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "job-presets.hpp"
#include "profile-commands.hpp"

struct ppd_file_s;

namespace t48::filter {

class JobPPD {
public:
    // The PPD at `path` with the job's `options` marked on it as pstops marks them (the
    // PPD's defaults, then the options); null when `path` is null or names no PPD libcups
    // can read.
    static std::unique_ptr<JobPPD> open(const char* path, const std::vector<JobOption>& options);
    ~JobPPD();
    JobPPD(const JobPPD&) = delete;
    JobPPD& operator=(const JobPPD&) = delete;

    // The marked choice of each option, in the order pstops writes options of the same
    // order dependency (by keyword).
    std::vector<JobOption> markedChoices() const;
    // The choice of `option` that `value` names (as the PPD spells it); nothing when the
    // PPD offers no such choice.
    std::optional<std::string> choiceNamed(const std::string& option,
                                           const std::string& value) const;
    // The queue's default choice of `option`; nothing when the PPD has no such option.
    std::optional<std::string> defaultChoice(const std::string& option) const;
    // The PPD's presets (*APPrinterPreset).
    std::vector<JobPreset> presets() const;
    // The first choice of each profile option the PPD has.
    FirstChoices profileFirstChoices() const;
    // True when the PPD marks `choice` of `option` as a profile stored on the printer
    // (printer-profile-mark.hpp).
    bool isPrinterProfileChoice(const std::string& option, const std::string& choice) const;
    // The code of `choice` of `option`; nothing when the PPD has no such choice.
    std::optional<std::string> choiceCode(const std::string& option,
                                          const std::string& choice) const;

private:
    explicit JobPPD(ppd_file_s* ppd) : ppd_(ppd) {}
    ppd_file_s* ppd_;
};

}  // namespace t48::filter
