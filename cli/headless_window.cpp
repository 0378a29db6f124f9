#include "cli/headless_window.h"

#include "platform/box_text.h"

namespace loto {

HeadlessWindow::HeadlessWindow(Inputs inputs) : inputs_(std::move(inputs)) {
    for (std::string& text : inputs_) {
        text.resize(BoxText(text).size());
    }
}

std::string HeadlessWindow::FavouriteText(int position) {
    return inputs_.at(static_cast<std::size_t>(position));
}

void HeadlessWindow::SetResultText(ResultColumn column, int k, const std::string& text) {
    results_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(k)) = text;
}

const std::string& HeadlessWindow::result(ResultColumn column, int k) const {
    return results_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(k));
}

void HeadlessWindow::SetMessageVisible(Message message, bool visible) {
    messages_.at(static_cast<std::size_t>(message)) = visible;
}

bool HeadlessWindow::messageVisible(Message message) const {
    return messages_.at(static_cast<std::size_t>(message));
}

}  // namespace loto
