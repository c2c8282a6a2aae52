#pragma once
// Headless modal window and open panel. A modal run cannot block a headless host, so
// running a window modally marks it modal and visible, and what the platform does after
// the run ends is handed over as a continuation that stopModal runs.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls.hpp"

namespace t48::ui {

class Window : public View {
public:
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) {
        title_ = title;
        didChange();
    }
    bool isVisible() const { return visible_; }
    bool isModal() const { return modal_; }
    // Times the window has been centred.
    int centerCount() const { return centered_; }
    void center() { ++centered_; }

    // Shows the window and makes it modal; `afterRun` runs when the run ends.
    void runModal(std::function<void()> afterRun);
    // Ends the modal run (nothing when none is running).
    void stopModal();
    // Hides the window.
    void orderOut() {
        visible_ = false;
        didChange();
    }

private:
    std::string title_;
    bool visible_ = false;
    bool modal_ = false;
    int centered_ = 0;
    std::function<void()> afterRun_;
};

// The open panel: the user's answer is set before it runs (a headless host or a test
// answers for the user); with no answer set it is cancelled. A window-system host
// gives it a runner that asks the user instead.
class OpenPanel {
public:
    // Asks the user for a file, starting in the folder; nothing when cancelled.
    using Runner = std::function<std::optional<std::string>(const std::string& directory)>;
    void setRunner(Runner runner) { runner_ = std::move(runner); }

    static constexpr int kCancelButton = 0;
    static constexpr int kOKButton = 1;

    // What the panel asks the user for, shown as its title.
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // The answer to the next run: a chosen path, or nothing to cancel.
    void setNextAnswer(std::optional<std::string> path) { answer_ = std::move(path); }

    // Runs the panel in `directory` with `file` preselected ("" for none) and the
    // allowed file types (empty: any). kOKButton or kCancelButton.
    int runModalForDirectory(const std::string& directory, const std::string& file,
                             const std::vector<std::string>& types);
    // The chosen file of the last run that was answered with OK.
    const std::string& filename() const { return filename_; }
    // Where the last run started, and how many runs there were.
    const std::string& directory() const { return directory_; }
    int runCount() const { return runs_; }

private:
    Runner runner_;
    std::string title_;
    std::optional<std::string> answer_;
    std::string filename_;
    std::string directory_;
    int runs_ = 0;
};

}  // namespace t48::ui
