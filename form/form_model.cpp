#include "form/form_model.h"

#include "platform/box_text.h"

namespace loto {

FormModel::FormModel() {
    for (const ControlDesign& control : FrmLotoControls()) {
        controls_.push_back({.text = {}, .shown = control.shownAtStart});
    }
}

const std::string& FormModel::Text(const ControlUse& use) const {
    return TextAt(ControlIndex(use));
}

bool FormModel::Shown(const ControlUse& use) const {
    return ShownAt(ControlIndex(use));
}

const std::string& FormModel::TextAt(std::size_t control) const {
    return controls_.at(control).text;
}

bool FormModel::ShownAt(std::size_t control) const {
    return controls_.at(control).shown;
}

void FormModel::SetText(const ControlUse& use, std::string text) {
    const std::size_t control = ControlIndex(use);
    controls_[control].text = std::move(text);
    Changed(control);
}

void FormModel::SetShown(const ControlUse& use, bool shown) {
    const std::size_t control = ControlIndex(use);
    controls_[control].shown = shown;
    Changed(control);
}

void FormModel::SetRunEnded(bool ended) {
    runEnded_ = ended;
    Changed(kRunEnded);
}

void FormModel::Typed(std::size_t control, std::string_view text) {
    controls_.at(control).text = BoxText(text);
}

void FormModel::Typed(const ControlUse& use, std::string_view text) {
    Typed(ControlIndex(use), text);
}

void FormModel::Subscribe(Listener listener) {
    listeners_.push_back(std::move(listener));
}

void FormModel::Changed(std::size_t control) const {
    for (const Listener& listener : listeners_) {
        listener(control);
    }
}

}  // namespace loto
