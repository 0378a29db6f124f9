#include "cli/input_window.h"

#include "platform/box_text.h"

namespace loto {

InputWindow::InputWindow(Inputs inputs) : inputs_(std::move(inputs)) {
    for (std::string& text : inputs_) {
        text.resize(BoxText(text).size());
    }
}

std::string InputWindow::FavouriteText(int position) {
    return inputs_.at(static_cast<std::size_t>(position));
}

}  // namespace loto
