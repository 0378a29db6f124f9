#pragma once

#include <array>
#include <chrono>
#include <string>

#include "core/command_window.h"

namespace loto {

// The window's boxes and messages as plain strings, for running commands without a screen.
// Shows the expected end and the progress of long runs on standard error when asked to, and
// stops the running command once an interrupt has been caught.
class HeadlessWindow final : public CommandWindow {
public:
    // The texts of TxtNbTirages, then of Txt1erN° to Txt6emeN°.
    using Inputs = std::array<std::string, 1 + kFavouriteCount>;

    HeadlessWindow(Inputs inputs, bool showProgress);

    [[nodiscard]] std::string DrawCountText() override { return inputs_[0]; }
    [[nodiscard]] std::string FavouriteText(int position) override;
    [[nodiscard]] const Inputs& inputs() const noexcept { return inputs_; }
    void SetEstimateText(const std::string& text) override;
    void SetResultText(ResultColumn column, int k, const std::string& text) override;
    void SetMessageVisible(Message message, bool visible) override;
    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override;

    // Clears the progress line, if one was shown.
    void EndProgress();

    [[nodiscard]] const std::string& estimate() const noexcept { return estimate_; }
    [[nodiscard]] const std::string& result(ResultColumn column, int k) const;
    [[nodiscard]] bool messageVisible(Message message) const;

private:
    using Clock = std::chrono::steady_clock;

    Inputs inputs_;
    bool showProgress_;
    bool progressShown_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastProgress_ = start_;
    std::string estimate_;
    std::array<std::array<std::string, kResultRows>, 3> results_;
    std::array<bool, 3> messages_{};
};

}  // namespace loto
