#include "controls.hpp"

#include <algorithm>

namespace t48::ui {

void View::addSubview(View* view) {
    if (view == nullptr || view->superview_ == this) {
        return;
    }
    view->removeFromSuperview();
    subviews_.push_back(view);
    view->superview_ = this;
    didChange();
}

void View::replaceSubview(View* existing, View* replacement) {
    auto at = std::find(subviews_.begin(), subviews_.end(), existing);
    if (at == subviews_.end() || replacement == nullptr) {
        return;
    }
    if (replacement->superview_ == this) {
        // Already here: just take the old view out.
        subviews_.erase(at);
        existing->superview_ = nullptr;
        didChange();
        return;
    }
    replacement->removeFromSuperview();
    at = std::find(subviews_.begin(), subviews_.end(), existing);
    *at = replacement;
    replacement->superview_ = this;
    existing->superview_ = nullptr;
    didChange();
}

void View::removeFromSuperview() {
    if (superview_ == nullptr) {
        return;
    }
    View* former = superview_;
    auto& siblings = former->subviews_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    superview_ = nullptr;
    former->didChange();
}

void PopUpButton::removeAllItems() {
    items_.clear();
    selected_ = -1;
    didChange();
}

void PopUpButton::addItemWithTitle(const std::string& title) {
    items_.push_back({title, {}});
    if (selected_ < 0) {
        selected_ = 0;  // a popup selects its first item, as the platform's does
    }
    didChange();
}

void PopUpButton::setKeywordAtIndex(int index, const std::string& keyword) {
    if (index >= 0 && index < numberOfItems()) {
        items_[static_cast<size_t>(index)].keyword = keyword;
    }
}

const std::string& PopUpButton::itemTitleAtIndex(int index) const {
    return items_.at(static_cast<size_t>(index)).title;
}

const std::string& PopUpButton::keywordAtIndex(int index) const {
    return items_.at(static_cast<size_t>(index)).keyword;
}

void PopUpButton::selectItemAtIndex(int index) {
    selected_ = (index >= 0 && index < numberOfItems()) ? index : -1;
    didChange();
}

void PushButton::performClick() {
    if (isEnabled()) {
        sendAction();
    }
}

void TabView::selectTabAtIndex(int index) {
    if (index >= 0 && index < numberOfTabs()) {
        selected_ = index;
        didChange();
    }
}

}  // namespace t48::ui
