#include "web/web_window.h"

#include <emscripten.h>

#include "form/accessible_names.h"
#include "form/design.h"

namespace loto {
namespace {

// clang-format off
// A box holds at most kBoxCharacterLimit UTF-16 units, each at most 3 bytes of UTF-8 (a pair of
// surrogates, 4).
EM_JS(int, ReadValue, (const char* id, char* out, int capacity), {
    return stringToUTF8(Module.lotoBoxText(document.getElementById(UTF8ToString(id))), out,
                        capacity);
});

EM_JS(void, WriteValue, (const char* id, const char* text), {
    Module.lotoSetBox(document.getElementById(UTF8ToString(id)), UTF8ToString(text));
});

EM_JS(void, SetHidden, (const char* id, int length, int hidden), {
    document.getElementById(UTF8ToString(id, length)).hidden = hidden !== 0;
});
// clang-format on

std::string Value(const ControlDesign& control) {
    const std::string id(control.name);
    std::string text(3 * kBoxCharacterLimit + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ReadValue(id.c_str(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetValue(const ControlDesign& control, const std::string& text) {
    WriteValue(std::string(control.name).c_str(), text.c_str());
}

}  // namespace

void ShowElement(std::string_view id, bool shown) {
    SetHidden(id.data(), static_cast<int>(id.size()), !shown);
}

std::string WebWindow::DrawCountText() {
    return Value(DesignedControl(Role::DrawCount));
}

std::string WebWindow::FavouriteText(int position) {
    return Value(DesignedFavourite(position));
}

void WebWindow::SetEstimateText(const std::string& text) {
    SetValue(DesignedControl(Role::Estimate), text);
}

void WebWindow::SetResultText(ResultColumn column, int k, const std::string& text) {
    SetValue(DesignedResult(column, k), text);
}

void WebWindow::SetMessageVisible(Message message, bool visible) {
    ShowElement(DesignedMessage(message).name, visible);
}

void WebWindow::SetRunEnded(bool ended) {
    ShowElement(kRunEndedId, ended);
}

}  // namespace loto
