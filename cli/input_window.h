#pragma once

#include <array>
#include <string>

#include "core/command_window.h"

namespace loto {

// The seven boxes of one command, as the window's would hold them, and outputs that go nowhere:
// loto-sim prints the command's report instead.
class InputWindow final : public CommandWindow {
public:
    // The texts of TxtNbTirages, then of Txt1erN° to Txt6emeN°.
    using Inputs = std::array<std::string, 1 + kFavouriteCount>;

    // Each box keeps what the window's would of its text.
    explicit InputWindow(Inputs inputs);

    [[nodiscard]] std::string DrawCountText() override { return inputs_[0]; }
    [[nodiscard]] std::string FavouriteText(int position) override;
    void SetEstimateText(const std::string&) override {}
    void SetResultText(ResultColumn, int, const std::string&) override {}
    void SetMessageVisible(Message, bool) override {}
    void SetRunEnded(bool) override {}

    // Input 0 is the draw count, 1 to 6 the favourites.
    [[nodiscard]] const std::string& input(int input) const { return inputs_.at(input); }

private:
    Inputs inputs_;
};

}  // namespace loto
