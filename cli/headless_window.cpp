#include "cli/headless_window.h"

namespace loto {

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
