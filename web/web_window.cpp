#include "web/web_window.h"

#include <emscripten.h>

#include "window/design.h"

namespace loto {
namespace {

// clang-format off
// A box holds at most kBoxCharacterLimit UTF-16 units, each at most 3 bytes of UTF-8 (a pair of
// surrogates, 4).
EM_JS(int, ReadValue, (const char* id, char* out, int capacity), {
    return stringToUTF8(document.getElementById(UTF8ToString(id)).value, out, capacity);
});

EM_JS(void, WriteValue, (const char* id, const char* text), {
    document.getElementById(UTF8ToString(id)).value = UTF8ToString(text);
});

EM_JS(void, SetHidden, (const char* id, int length, int hidden), {
    document.getElementById(UTF8ToString(id, length)).hidden = hidden !== 0;
});
// clang-format on

// The page's id of the control that the commands use for `use`.
std::string Id(const ControlUse& use) {
    return std::string(DesignedControl(use).name);
}

std::string Value(const ControlUse& use) {
    const std::string id = Id(use);
    std::string text(3 * kBoxCharacterLimit + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ReadValue(id.c_str(), text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void ShowElement(std::string_view id, bool shown) {
    SetHidden(id.data(), static_cast<int>(id.size()), !shown);
}

std::string WebWindow::DrawCountText() {
    return Value({.role = Role::DrawCount});
}

std::string WebWindow::FavouriteText(int position) {
    return Value({.role = Role::Favourite, .row = position});
}

void WebWindow::SetEstimateText(const std::string& text) {
    WriteValue(Id({.role = Role::Estimate}).c_str(), text.c_str());
}

void WebWindow::SetResultText(ResultColumn column, int k, const std::string& text) {
    WriteValue(Id({.role = Role::Result, .row = k, .column = column}).c_str(), text.c_str());
}

void WebWindow::SetMessageVisible(Message message, bool visible) {
    ShowElement(Id({.role = Role::Message, .message = message}), visible);
}

}  // namespace loto
