#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "form/design.h"

namespace loto {

// The designed form as every view shows it: the text of each box and whether each label shows,
// by the control's place in the design's table, and whether a run's end is to be heard. The
// commands read and write it; each view makes its controls from the table, follows the model's
// changes and tells it what the user types.
class FormModel {
public:
    // The change of what a screen reader hears of a run's end, which no control of the table shows.
    static constexpr std::size_t kRunEnded = static_cast<std::size_t>(-1);
    using Listener = std::function<void(std::size_t control)>;

    // Every box empty, every label as the design shows it at start.
    FormModel();

    [[nodiscard]] const std::string& Text(const ControlUse& use) const;
    [[nodiscard]] bool Shown(const ControlUse& use) const;
    [[nodiscard]] bool runEnded() const noexcept { return runEnded_; }
    [[nodiscard]] const std::string& TextAt(std::size_t control) const;
    [[nodiscard]] bool ShownAt(std::size_t control) const;

    // What the commands write: every change is told to the views, even to the same text, since a
    // view's box may hold what the user typed there.
    void SetText(const ControlUse& use, std::string text);
    void SetShown(const ControlUse& use, bool shown);
    void SetRunEnded(bool ended);

    // What the user typed into a box, which its view shows already; kept as a box keeps it (its
    // first kBoxCharacterLimit UTF-16 units) and told to no one.
    void Typed(std::size_t control, std::string_view text);
    void Typed(const ControlUse& use, std::string_view text);

    // Called after every change that the commands make, with the index of the control.
    void Subscribe(Listener listener);

private:
    struct State {
        std::string text;
        bool shown = true;
    };
    void Changed(std::size_t control) const;

    std::vector<State> controls_;
    bool runEnded_ = false;
    std::vector<Listener> listeners_;
};

}  // namespace loto
