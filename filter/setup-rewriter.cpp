#include "setup-rewriter.hpp"

#include <algorithm>
#include <optional>
#include <utility>

namespace t48::filter {
namespace {

constexpr std::string_view kBeginFeature = "%%BeginFeature: *";
constexpr std::string_view kEndFeature = "%%EndFeature";
constexpr std::string_view kOpening = "[{";
constexpr std::string_view kClosing = "} stopped cleartomark";

// A line without its line end (LF, CR LF or CR).
std::string_view content(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

struct Feature {
    std::string_view option;
    std::string_view choice;
};

// The option and choice of a "%%BeginFeature: *KEY CHOICE" line.
std::optional<Feature> beginFeature(std::string_view line) {
    line = content(line);
    if (!line.starts_with(kBeginFeature)) {
        return std::nullopt;
    }
    line.remove_prefix(kBeginFeature.size());
    const size_t space = line.find_first_of(" \t");
    if (space == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view choice = line.substr(space + 1);
    choice.remove_prefix(std::min(choice.find_first_not_of(" \t"), choice.size()));
    return Feature{line.substr(0, space), choice.substr(0, choice.find_last_not_of(" \t") + 1)};
}

// The feature line and code of `choice`, as ppdEmitString writes them.
void writeFeature(const PrintedChoice& choice, std::string& out) {
    out += kBeginFeature;
    out += choice.option;
    out += ' ';
    out += choice.printed;
    out += '\n';
    out += choice.code;
    if (!choice.code.empty() && choice.code.back() != '\n') {
        out += '\n';
    }
}

}  // namespace

SetupRewriter::SetupRewriter(std::vector<PrintedChoice> choices, std::string added)
    : choices_(std::move(choices)), seen_(choices_.size(), false), added_(std::move(added)) {}

const PrintedChoice* SetupRewriter::choiceOf(std::string_view option) const {
    const auto found = std::find_if(choices_.begin(), choices_.end(),
                                    [&](const PrintedChoice& c) { return c.option == option; });
    return found != choices_.end() ? &*found : nullptr;
}

void SetupRewriter::noteChange(const PrintedChoice& choice, std::string_view asked) {
    const bool noted = std::any_of(changes_.begin(), changes_.end(), [&](const ChangedChoice& c) {
        return c.option == choice.option;
    });
    if (!noted) {
        changes_.push_back({choice.option, std::string(asked), choice.printed});
    }
}

void SetupRewriter::release(std::string& out) {
    out += heldOpening_;
    heldOpening_.clear();
}

void SetupRewriter::line(std::string_view line, std::string& out) {
    if (skipping_ != Skipping::kNothing) {
        if (content(line).starts_with(kEndFeature)) {
            if (skipping_ == Skipping::kReplacedCode) {
                out += line;
            }
            dropClosing_ = skipping_ == Skipping::kDroppedBlock && openingDropped_;
            skipping_ = Skipping::kNothing;
        }
        return;
    }
    if (std::exchange(dropClosing_, false) && content(line) == kClosing) {
        return;
    }
    if (content(line) == kOpening) {
        release(out);
        heldOpening_ = line;
        return;
    }
    const std::optional<Feature> feature = beginFeature(line);
    const PrintedChoice* choice = feature ? choiceOf(feature->option) : nullptr;
    if (choice == nullptr) {
        release(out);
        out += line;
        return;
    }
    if (feature->choice != choice->printed) {
        noteChange(*choice, feature->choice);
    }
    const size_t index = static_cast<size_t>(choice - choices_.data());
    if (seen_[index]) {
        openingDropped_ = !heldOpening_.empty();
        heldOpening_.clear();
        skipping_ = Skipping::kDroppedBlock;
        return;
    }
    seen_[index] = true;
    release(out);
    if (feature->choice == choice->printed) {
        out += line;
        return;
    }
    writeFeature(*choice, out);
    skipping_ = Skipping::kReplacedCode;
}

bool SetupRewriter::addsAtTheEnd() const {
    for (size_t i = 0; i < choices_.size(); ++i) {
        if (!seen_[i] && choices_[i].asked != choices_[i].printed) {
            return true;
        }
    }
    return !added_.empty();
}

void SetupRewriter::finish(std::string& out) {
    release(out);
    skipping_ = Skipping::kNothing;
    dropClosing_ = false;
    for (size_t i = 0; i < choices_.size(); ++i) {
        const PrintedChoice& choice = choices_[i];
        if (seen_[i] || choice.asked == choice.printed) {
            continue;
        }
        seen_[i] = true;
        noteChange(choice, choice.asked);
        out += kOpening;
        out += '\n';
        writeFeature(choice, out);
        out += kEndFeature;
        out += '\n';
        out += kClosing;
        out += '\n';
    }
    out += added_;
}

}  // namespace t48::filter
