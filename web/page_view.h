#pragma once

#include "form/form_model.h"

namespace loto {

// The page's view of the form's model: each control an element of the page made from its row of
// the design (web_form.h), kept in the page's list by its place in the table. It follows the
// model's changes, and tells the model what was typed into the boxes, which the page can only
// tell when the program has its turn again: at each turn that it takes.
class PageView {
public:
    explicit PageView(FormModel& model);

    // The inputs' texts, as the page holds them now, into the model.
    void TakeTyped();

private:
    void Follow(std::size_t control);

    FormModel& model_;
};

}  // namespace loto
