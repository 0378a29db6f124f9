#pragma once

#include <array>
#include <string>

#include "core/command_window.h"

namespace loto {

// The window's boxes and messages as plain strings, for running commands without a screen.
class HeadlessWindow final : public CommandWindow {
public:
    // The texts of TxtNbTirages, then of Txt1erN° to Txt6emeN°.
    using Inputs = std::array<std::string, 1 + kFavouriteCount>;

    // Each box keeps what the window's would of its text.
    explicit HeadlessWindow(Inputs inputs);

    [[nodiscard]] std::string DrawCountText() override { return inputs_[0]; }
    [[nodiscard]] std::string FavouriteText(int position) override;
    void SetEstimateText(const std::string& text) override { estimate_ = text; }
    void SetResultText(ResultColumn column, int k, const std::string& text) override;
    void SetMessageVisible(Message message, bool visible) override;

    [[nodiscard]] const Inputs& inputs() const noexcept { return inputs_; }
    [[nodiscard]] const std::string& estimate() const noexcept { return estimate_; }
    [[nodiscard]] const std::string& result(ResultColumn column, int k) const;
    [[nodiscard]] bool messageVisible(Message message) const;

private:
    Inputs inputs_;
    std::string estimate_;
    std::array<std::array<std::string, kResultRows>, 3> results_;
    std::array<bool, kMessageCount> messages_{};
};

}  // namespace loto
