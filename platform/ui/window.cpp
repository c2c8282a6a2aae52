#include "window.hpp"

namespace t48::ui {

void Window::runModal(std::function<void()> afterRun) {
    visible_ = true;
    modal_ = true;
    afterRun_ = std::move(afterRun);
    didChange();
}

void Window::stopModal() {
    if (!modal_) {
        return;
    }
    modal_ = false;
    std::function<void()> afterRun = std::move(afterRun_);
    afterRun_ = nullptr;
    if (afterRun) {
        afterRun();
    }
    didChange();
}

int OpenPanel::runModalForDirectory(const std::string& directory, const std::string&,
                                    const std::vector<std::string>&) {
    ++runs_;
    directory_ = directory;
    std::optional<std::string> answer = std::move(answer_);
    answer_.reset();
    if (runner_) {
        answer = runner_(directory);
    }
    if (!answer) {
        return kCancelButton;
    }
    filename_ = *answer;
    return kOKButton;
}

}  // namespace t48::ui
