#pragma once
// The document setup of a job as pstops writes it, with the choices the printer is to
// print put in. pstops gives each marked option one feature block:
//   [{
//   %%BeginFeature: *KEY CHOICE
//   the choice's code from the PPD
//   %%EndFeature
//   } stopped cleartomark
// A block whose choice differs from the one printed gets the printed choice and its
// code; a later block of the same option (the document's own, or an included feature)
// is dropped whole, so the printer meets each option's code once.

#include <string>
#include <string_view>
#include <vector>

namespace t48::filter {

// An option as the job asks for it and as the printer is to print it.
struct PrintedChoice {
    std::string option;
    std::string asked;    // the choice the job's setup carries (as pstops marked it)
    std::string printed;  // the choice to print
    std::string code;     // the printed choice's code from the PPD
};

// An option whose choice the rewriter changed: one line of the job's log.
struct ChangedChoice {
    std::string option;
    std::string asked;
    std::string printed;
};

class SetupRewriter {
public:
    // `choices` in the order their blocks are added when the setup lacks them; `added` is
    // put at the end of the setup, after them.
    SetupRewriter(std::vector<PrintedChoice> choices, std::string added);

    // One line of the setup (with its line end), as it is to be passed on, to `out`.
    void line(std::string_view line, std::string& out);
    // The end of the setup: the blocks of the changed options it lacked, then the added
    // text.
    void finish(std::string& out);
    // True when finish() adds anything.
    bool addsAtTheEnd() const;

    // The options changed so far, each once, in the order of their blocks.
    const std::vector<ChangedChoice>& changes() const { return changes_; }

private:
    enum class Skipping { kNothing, kReplacedCode, kDroppedBlock };

    const PrintedChoice* choiceOf(std::string_view option) const;
    void noteChange(const PrintedChoice& choice, std::string_view asked);
    // Passes the held "[{" line on.
    void release(std::string& out);

    std::vector<PrintedChoice> choices_;
    std::vector<bool> seen_;  // by index into choices_: its block has been passed on
    std::string added_;
    std::vector<ChangedChoice> changes_;
    std::string heldOpening_;  // a "[{" line, until the next line tells whose it is
    Skipping skipping_ = Skipping::kNothing;
    bool openingDropped_ = false;  // the dropped block's "[{" went with it
    bool dropClosing_ = false;     // so its "} stopped cleartomark" goes too
};

}  // namespace t48::filter
