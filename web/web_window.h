#pragma once

#include <string_view>

#include "core/command_window.h"

namespace loto {

// The commands' window over the page's elements, each found by its control's name in the design:
// boxes are <input> elements whose value is the text, a hidden message is not displayed.
class WebWindow final : public CommandWindow {
public:
    [[nodiscard]] std::string DrawCountText() override;
    [[nodiscard]] std::string FavouriteText(int position) override;
    void SetEstimateText(const std::string& text) override;
    void SetResultText(ResultColumn column, int k, const std::string& text) override;
    void SetMessageVisible(Message message, bool visible) override;
    void SetRunEnded(bool ended) override;
};

// Shows or hides any element of the page by its id.
void ShowElement(std::string_view id, bool shown);

}  // namespace loto
