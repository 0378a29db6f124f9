#pragma once

#include "core/command_window.h"
#include "web/web_form.h"

namespace loto {

// The commands' window over the page's elements: boxes are <input> elements whose value is the
// text, a hidden message is not displayed.
class WebWindow final : public CommandWindow {
public:
    explicit WebWindow(FormIds ids) : ids_(std::move(ids)) {}

    [[nodiscard]] std::string DrawCountText() override;
    [[nodiscard]] std::string FavouriteText(int position) override;
    void SetEstimateText(const std::string& text) override;
    void SetResultText(ResultColumn column, int k, const std::string& text) override;
    void SetMessageVisible(Message message, bool visible) override;

private:
    FormIds ids_;
};

// Shows or hides any element of the page by its id.
void ShowElement(std::string_view id, bool shown);

}  // namespace loto
