#pragma once
// Shared work on controls, the PPD and the ticket: class operations without state.
// Each operation takes one control record or a whole control table (ended by its
// terminator record).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pde-control-item.hpp"
#include "pde-protocol.hpp"  // kPDEProductKey
#include "pde-status.hpp"
#include "print-settings.hpp"
#include "value.hpp"

struct ppd_file_s;

namespace t48::pde {

class PDECommon {
public:
    PDECommon() = delete;

    // --- PPD binding (ppd-binding.cpp) ---

    // Creates `array` with one row per choice of option `key`: 0; kPDEPPDOptionNotFound
    // (array untouched) when the PPD has no such option; kPDEArrayCreateErr when no
    // array can be had. The caller owns the array.
    static int32_t commonGetPPDArrayForUIOption(ppd_file_s* ppd, const char* key,
                                                ChoiceRows*& array);
    // Appends one row per choice of option `key` to `array`, adding to `count`, and the
    // choices the PPD marks as printer profiles to its printerProfiles; always 0.
    static int32_t commonGetUIListFromPPD(ppd_file_s* ppd, const char* key, ChoiceRows* array,
                                          int16_t& count);
    // Refills a popup with the choice texts of its option, without the choices the PPD
    // marks as printer profiles; item i stands for row i.
    static void commonReBuildMenuFromPPD(ppd_file_s* ppd, const PDEControlItem* item);
    // The PPD's character set, for menu item titles (StringEncoding numbering).
    static uint64_t commonGetEncodingFromPPD(const ppd_file_s* ppd);
    // The same character set, for choice rows (CFStringEncoding numbering).
    static uint32_t commonGetCFStringEncodingFromPPD(const ppd_file_s* ppd);

    // --- Titles and tables (control-table.cpp) ---

    // Titles of every control and the popups' menus from the PPD.
    static void commonBuildPDEItem(PDEControlItem* table, ppd_file_s* ppd);
    static void commonSetControlTitleFromLocalizeString(const PDEControlItem* item);
    // Every bound control to its PPD default.
    static void commonDefaultFromPPDInfo(PDEControlItem* table);
    // Appends the table's PPD keywords: 0; kPDEParamErr for a null array.
    static int32_t commonAddPPDArray(std::vector<std::string>* array, const PDEControlItem* table);
    // A new table (new[]) of the records of `count` tables, each without its terminator,
    // and one terminator; null when storage cannot be had. The records share controls
    // and choices with the pane tables, which alone own the choices.
    static PDEControlItem* commonControlTableCompound(PDEControlItem* const* tables, int32_t count);
    static bool commonCFTypeIsValid(const cf::Value* object, cf::ValueType type);

    // --- Profile menus (profile-menus.cpp) and added profiles (added-profile-entries.cpp) ---

    // Appends to each profile popup the user's listed profiles of its class, after its
    // PPD choices: 0; kPDEProfileOpErr when the profile file cannot be read (the popups
    // keep their PPD choices); kPDEParamErr for a null table; kPDEMemFullErr.
    static int32_t commonAddMenuFromProfilePlist(PDEControlItem* table);
    // Stores the added profile at `position` (1 = the first listed entry of the record's
    // class): the option at its first choice, the encoded path (empty when no entry has
    // that position) and the "Custom" flag "True". 0; kPDEProfileOpErr for no model
    // dictionary, a record that lists no profiles or has no choices; kPDEMemFullErr.
    static int32_t commonSetTicketAddedProfile(const PDEControlItem* item, cf::Value* model,
                                               int16_t position);
    // The position of the stored added profile among the record's listed entries; 0 when
    // none is stored or it is not listed (any more); -1 for no model dictionary or a
    // record that lists no profiles.
    static int16_t commonGetTicketAddedProfile(const PDEControlItem* item, const cf::Value* model);
    // Sets the record's "Custom" flag; nothing for a record that lists no profiles. 0.
    static int32_t commonSetTicketAddedProfileFlag(const PDEControlItem* item, cf::Value* model,
                                                   const char* flag);
    // The record's "Custom" flag; nothing when absent, not a string, or for a record that
    // lists no profiles.
    static std::optional<std::string> commonGetTicketAddedProfileFlag(const PDEControlItem* item,
                                                                      const cf::Value* model);

    // --- Control values (control-values.cpp) ---

    // Check box: its state; popup: the selected index (-1 for none); else 0.
    static int32_t commonGetControlValueWithSInt32(const PDEControlItem* item);
    // Check box: the state; popup: selects `value` only when it is below the item
    // count (so -1 clears the selection); other kinds: nothing.
    static void commonSetControlValueWithSInt32(const PDEControlItem* item, int32_t value);
    // The choice row the control's state stands for (-1 when a check box matches none).
    static int32_t commonGetControlValueFromPPDWithSInt32(const PDEControlItem* item);
    // The display text of the control's state, or nothing.
    static std::optional<std::string> commonGetControlValueFromPPDWithNSString(
        const PDEControlItem* item);
    // Index of the first row with this option and choice keyword, or -1.
    static int32_t commonFindPPDKeyPairsMatch(const ChoiceRows* choices, const std::string& option,
                                              const std::string& choice);
    // The control value a stored choice stands for (`choice` may be of any type).
    static int32_t commonGetTicketValueWithSInt32(const PDEControlItem* item,
                                                  const std::string& option,
                                                  const cf::Value* choice);
    static int32_t commonGetDefualtValueFromPPDWithSInt32(const PDEControlItem* item);
    // Control value to constraint-rule value and back.
    static int32_t commonConvertToCSTValue(const PDEControlItem* item, int32_t value);
    static int32_t commonConvertFromCSTValue(const PDEControlItem* item, int32_t value);

    // --- Summary (summary-text.cpp) ---

    // Adds, for each record before the terminator that has a summaryKey, the localized
    // summaryKey mapped to the control's value text to `summaryDict`, and appends that
    // name to the `order` array. 0, or kPDEParamErr when a record had no name or no
    // value text (the others are still added) or a collection is missing. Without the
    // bundle's strings nothing is added and the result is 0.
    static int32_t commonGetSummaryText(const PDEControlItem* table, cf::Value* summaryDict,
                                        cf::Value* order);
    // Adds one entry: the localization of `itemName` (an ASCII key) mapped to `value`.
    // 0; kPDEParamErr (nothing added) when the key is missing or not ASCII or a
    // collection is missing. Without the bundle's strings nothing is added: 0.
    static int32_t commonGetSummaryTextQuickColor(const char* itemName, const std::string& value,
                                                  cf::Value* summaryDict, cf::Value* order);

    // --- Ticket synchronisation (ticket-sync.cpp) ---

    // Writes each bound control's choice keyword to the model dictionary, then copies the
    // model dictionary to the top level: 0, or the status of that copy.
    static int32_t commonSyncTicketFromPane(cf::PrintSettings* settings,
                                            const cf::PrintSession* session,
                                            const PDEControlItem* table);
    // Sets each bound control from the model dictionary (the PPD default where it holds
    // no value), then copies it to the top level: 0, or the status of that copy.
    static int32_t commonSyncPaneFromTicket(cf::PrintSettings* settings,
                                            const cf::PrintSession* session,
                                            const PDEControlItem* table);
    // The two steps above over any dictionary of the model dictionary's form, so that a
    // pane's values outlive a rebuild of its menus (by choice keyword and added-profile
    // path, a value no longer offered falling to the PPD default).
    static void commonStorePaneInDictionary(cf::Value* model, const PDEControlItem* table);
    static void commonSetPaneFromDictionary(cf::Value* model, const PDEControlItem* table);
    // The current printer's model dictionary, created where missing; null without a
    // current printer or when the product entry is no dictionary.
    static cf::ValueRef commonGetModelDictionary(cf::PrintSettings* settings,
                                                 const cf::PrintSession* session);
    static std::string commonGetPPDProductName(const cf::PrintSettings* settings);
    static std::optional<std::string> commonGetPrintQueueName(const cf::PrintSession* session);
    static cf::ValueRef commonCFDictionaryGetValueWithType(const cf::Value* dictionary,
                                                           const std::string& key);
    // Copies the entries of `dictionary` to the top level, except over the product key and
    // over a top-level value that is not a string (the host's own), unless the panel writes
    // that entry for a record of `table`: 0, or kPDEMemFullErr.
    static int32_t commonCFDictionaryMapToTicket(cf::PrintSettings* settings,
                                                 const cf::Value* dictionary,
                                                 const PDEControlItem* table = nullptr);

    // --- Printer address and profile refresh (refresh/) ---

    // Protocol type of a device URI by its prefix (kProtocol... constants); -1 without one.
    static int16_t commoniGetProtocolByUrl(const char* uri);
    // Protocol type of the session's current printer; -1 without session, printer or URI.
    static int16_t commoniGetProtocol(const cf::PrintSession* session);
    // Backs up the profile file, then has the service walk the current printer and merge
    // its profiles. Always 0; every failure ends the refresh silently.
    static int32_t commonGetProfilesFromMIB(const cf::PrintSession* session);
};

// Values of a profile popup's "Custom" flag.
inline constexpr const char* kAddedProfileFlagOn = "True";
inline constexpr const char* kAddedProfileFlagOff = "False";

}  // namespace t48::pde
