// The print-settings entries of a profile popup on one of the user's stored profiles:
// "<ppdKey>Custom" says whether one is selected, "<ppdKey>CustomFilename" holds its
// path on the printer, encoded. Both are only ever added or replaced.

#include <memory>
#include <new>

#include "added-profile.hpp"
#include "pde-common.hpp"
#include "profile-store.hpp"
#include "utf8-text.hpp"

namespace t48::pde {
namespace {

bool isDictionary(const cf::Value* model) {
    return model != nullptr && model->is(cf::ValueType::Dictionary);
}

// Walks the listed entries in list order, numbering them from 1, until `visit` answers
// true; returns that number, or 0 when it never does.
template <class Visit>
int16_t findListed(const store::ProfileList& list, Visit visit) {
    int16_t position = 0;
    for (int32_t slot = 0; slot < list.iNum && slot < store::kProfileSlots; ++slot) {
        const store::ProfileEntry& entry = list.litem[slot];
        if (!isListedProfileState(entry.iInMenu)) {
            continue;
        }
        ++position;
        if (visit(position, entry)) {
            return position;
        }
    }
    return 0;
}

// The position of the listed entry whose file lies at `path` on the printer; 0 for none.
// Only a profile on the printer's own storage can be found; entries elsewhere still take
// their numbers.
int16_t listedPosition(const store::ProfileList& list, const std::string& path) {
    return findListed(list, [&](int16_t, const store::ProfileEntry& entry) {
        return profileLocationFor(entry.iLocation) != nullptr && addedProfilePath(entry) == path;
    });
}

}  // namespace

int32_t PDECommon::commonSetTicketAddedProfile(const PDEControlItem* item, cf::Value* model,
                                               int16_t position) {
    PassProfileLists lists;
    return setTicketAddedProfile(item, model, position, lists);
}

int16_t PDECommon::commonGetTicketAddedProfile(const PDEControlItem* item, const cf::Value* model) {
    PassProfileLists lists;
    return getTicketAddedProfile(item, model, lists);
}

int32_t setTicketAddedProfile(const PDEControlItem* item, cf::Value* model, int16_t position,
                              PassProfileLists& lists) {
    if (item == nullptr || !isDictionary(model)) {
        return kPDEProfileOpErr;
    }
    const int classIndex = profileListIndex(item->profileClass);
    // The option itself goes to its first choice, so a record without choices cannot
    // carry an added profile.
    if (classIndex < 0 || item->choices == nullptr || item->choices->empty()) {
        return kPDEProfileOpErr;
    }
    const store::ProfileList* list = lists.list(classIndex);
    if (list == nullptr) {
        return kPDEMemFullErr;
    }
    std::string path;
    findListed(*list, [&](int16_t at, const store::ProfileEntry& entry) {
        if (at != position) {
            return false;
        }
        path = addedProfilePath(entry);
        return true;
    });
    const ChoiceRow& first = item->choices->front();
    model->set(first.optionKeyword, cf::Value::string(first.choiceKeyword));
    model->set(std::string(item->ppdKey) + kCustomFilenameSuffix,
               cf::Value::string(encodeAddedProfilePath(path)));
    PDECommon::commonSetTicketAddedProfileFlag(item, model, kAddedProfileFlagOn);
    return kPDENoErr;
}

int16_t getTicketAddedProfile(const PDEControlItem* item, const cf::Value* model,
                              PassProfileLists& lists) {
    if (item == nullptr || !isDictionary(model)) {
        return -1;
    }
    const int classIndex = profileListIndex(item->profileClass);
    if (classIndex < 0) {
        return -1;
    }
    const store::ProfileList* list = lists.list(classIndex);
    if (list == nullptr) {
        return 0;
    }
    const cf::ValueRef stored = model->get(std::string(item->ppdKey) + kCustomFilenameSuffix);
    const std::string* text = stored ? stored->asString() : nullptr;
    if (text == nullptr) {
        return 0;
    }
    const std::optional<std::string> path = decodeAddedProfilePath(*text);
    if (!path || !text::isValidUtf8(*path)) {
        return 0;
    }
    return listedPosition(*list, *path);
}

int32_t listedProfileItem(const PDEControlItem* item, const std::string& path,
                          PassProfileLists& lists) {
    const int classIndex = item != nullptr ? profileListIndex(item->profileClass) : -1;
    const store::ProfileList* list = classIndex >= 0 ? lists.list(classIndex) : nullptr;
    const int16_t position = list != nullptr ? listedPosition(*list, path) : 0;
    if (position < 1 || item->choices == nullptr) {
        return -1;
    }
    return static_cast<int32_t>(item->choices->size()) + position - 1;
}

int32_t PDECommon::commonSetTicketAddedProfileFlag(const PDEControlItem* item, cf::Value* model,
                                                   const char* flag) {
    if (item != nullptr && profileListIndex(item->profileClass) >= 0 && isDictionary(model) &&
        flag != nullptr) {
        model->set(std::string(item->ppdKey) + kCustomSuffix, cf::Value::string(flag));
    }
    return kPDENoErr;
}

std::optional<std::string> PDECommon::commonGetTicketAddedProfileFlag(const PDEControlItem* item,
                                                                      const cf::Value* model) {
    if (item == nullptr || profileListIndex(item->profileClass) < 0 || !isDictionary(model)) {
        return std::nullopt;
    }
    const cf::ValueRef flag = model->get(std::string(item->ppdKey) + kCustomSuffix);
    const std::string* text = flag ? flag->asString() : nullptr;
    return text != nullptr ? std::optional<std::string>(*text) : std::nullopt;
}

}  // namespace t48::pde
