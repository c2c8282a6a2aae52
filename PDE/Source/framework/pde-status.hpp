#pragma once
// Status codes of the panel's operations, named once.

#include <cstdint>

namespace t48::pde {

enum PDEStatus : int32_t {
    kPDENoErr = 0,
    kPDEParamErr = -50,              // a missing argument, or a string that cannot be made
    kPDEPPDOptionNotFound = -30888,  // the PPD has no such option
    kPDEArrayCreateErr = -30870,     // an array cannot be created
    kPDEMemFullErr = -108,           // working memory cannot be had
    kPDEProfileOpErr = -1,           // a failed profile operation
};

}  // namespace t48::pde
