#include "profile-options.hpp"

namespace t48::pde {
namespace {

constexpr ProfileOption kProfileOptions[] = {
    {"ZTImageRGBSource", kProfileClassRGB},    {"ZTImageDestinationProfile", kProfileClassDST},
    {"ZTTextRGBSource", kProfileClassRGB},     {"ZTTextDestinationProfile", kProfileClassDST},
    {"ZTGraphicsRGBSource", kProfileClassRGB}, {"ZTGraphicsDestinationProfile", kProfileClassDST},
    {"ZTSimSource", kProfileClassSIM},
};

}  // namespace

std::span<const ProfileOption> profileOptions() {
    return kProfileOptions;
}

ControlProfileClass profileClassOf(std::string_view keyword) {
    for (const ProfileOption& option : kProfileOptions) {
        if (keyword == option.keyword) {
            return option.profileClass;
        }
    }
    return kNoProfileClass;
}

}  // namespace t48::pde
