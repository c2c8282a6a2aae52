#pragma once
// Whether a job prints with the T48's Color as Grayscale. Programs ask for it in three
// vocabularies: the printer's own option ZTColorAsGray (the panel, GTK's Color tab, lp
// -o), the PPD's standard ColorModel (browsers, Qt, another desktop's driverless queue)
// and the IPP attribute print-color-mode (IPP clients). The job obeys, strongest first:
//   1. ZTColorAsGray, when the job asks for another choice than the queue's default;
//   2. ColorModel, when the job asks for another choice than the queue's default;
//   3. print-color-mode, when the job asks for none of the T48's options;
//   4. the queue's default Color as Grayscale.
// A dialog that sends every option of the PPD (GTK's) sends the one its user did not
// touch at its default, so the one the user changed decides. print-color-mode comes
// last because clients fill it in from their own queue's default: a job that chose any
// of the T48's options is printed by them. A value that is only what cupsd's preset for
// the job's print-color-mode and print-quality adds (*APPrinterPreset) is not asked for.

#include <optional>
#include <vector>

#include "profile-commands.hpp"

namespace t48::filter {

class JobPPD;

// What a job asks for in each vocabulary (nothing where it does not) and the queue's
// defaults; true stands for grey.
struct ColourRequest {
    std::optional<bool> colorAsGray;
    std::optional<bool> colorModel;
    std::optional<bool> printColorMode;
    bool namesT48Options = false;
    bool colorAsGrayDefault = false;
    std::optional<bool> colorModelDefault;  // nothing when the PPD has no ColorModel
};

// The request of a job's `options` (argv[5]) on its queue's `ppd`, marked for them.
ColourRequest colourRequest(const std::vector<JobOption>& options, const JobPPD& ppd);

// True when the job prints with Color as Grayscale on.
bool printsGrayscale(const ColourRequest& request);

}  // namespace t48::filter
