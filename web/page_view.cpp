#include "web/page_view.h"

#include <emscripten.h>

#include <string>

#include "form/accessible_names.h"
#include "platform/box_text.h"

namespace loto {
namespace {

// clang-format off
// A box holds at most kBoxCharacterLimit UTF-16 units, each at most 3 bytes of UTF-8 (a pair of
// surrogates, 4).
EM_JS(int, ReadBox, (int control, char* out, int capacity), {
    return stringToUTF8(Module.lotoBoxText(Module.lotoControls[control]), out, capacity);
});

EM_JS(void, WriteBox, (int control, const char* text), {
    Module.lotoSetBox(Module.lotoControls[control], UTF8ToString(text));
});

EM_JS(void, ShowControl, (int control, int shown), {
    Module.lotoControls[control].hidden = shown === 0;
});

EM_JS(void, ShowRunEnded, (const char* id, int shown), {
    document.getElementById(UTF8ToString(id)).hidden = shown === 0;
});
// clang-format on

std::string BoxValue(std::size_t control) {
    std::string text(3 * kBoxCharacterLimit + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ReadBox(static_cast<int>(control), text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

PageView::PageView(FormModel& model) : model_(model) {
    model.Subscribe([this](std::size_t control) { Follow(control); });
}

// The inputs alone: the commands read no other box, and write every box they change.
void PageView::TakeTyped() {
    const auto controls = FrmLotoControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Role role = controls[i].use.role;
        if (role == Role::DrawCount || role == Role::Favourite) {
            model_.Typed(i, BoxValue(i));
        }
    }
}

void PageView::Follow(std::size_t control) {
    if (control == FormModel::kRunEnded) {
        ShowRunEnded(std::string(kRunEndedId).c_str(), model_.runEnded() ? 1 : 0);
        return;
    }
    const int index = static_cast<int>(control);
    if (FrmLotoControls()[control].kind == ControlKind::TextBox) {
        WriteBox(index, model_.TextAt(control).c_str());
    } else {
        ShowControl(index, model_.ShownAt(control) ? 1 : 0);
    }
}

}  // namespace loto
