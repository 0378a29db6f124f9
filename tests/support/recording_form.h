#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "form/accessible_names.h"
#include "form/form_model.h"
#include "platform/event_pump.h"

namespace loto::test {

// A view of a form model that types into its boxes and keeps a log of the changes of its labels
// by their names in the design ("+LblTest", "-LblPatientez", "+LblFinTirages"), and a pump: a
// hook that runs inside the event processing, where a user's click would.
class RecordingForm final : public EventPump {
public:
    explicit RecordingForm(FormModel& form) : model(form) {
        model.Subscribe([this](std::size_t control) { Record(control); });
    }

    // Types the number of draws and the six favourites.
    void Enter(const std::string& draws, const std::array<std::string, kFavouriteCount>& grid) {
        model.Typed(Is(Role::DrawCount), draws);
        for (int position = 1; position <= kFavouriteCount; ++position) {
            model.Typed(FavouriteAt(position), grid.at(static_cast<std::size_t>(position - 1)));
        }
    }

    bool ProcessEvents(const DrawProgress& progress) override {
        return !onEvents || onEvents(progress);
    }

    [[nodiscard]] bool Shown(Message message) const { return model.Shown(Shows(message)); }
    [[nodiscard]] const std::string& Estimate() const { return model.Text(Is(Role::Estimate)); }
    [[nodiscard]] PerRow<std::string> Column(ResultColumn column) const {
        PerRow<std::string> texts;
        for (int k = 0; k < kResultRows; ++k) {
            texts[static_cast<std::size_t>(k)] = model.Text(ResultAt(column, k));
        }
        return texts;
    }
    [[nodiscard]] bool ResultsEmpty() const {
        return std::ranges::all_of(kResultColumns, [this](ResultColumn column) {
            return std::ranges::all_of(Column(column), &std::string::empty);
        });
    }

    FormModel& model;
    std::vector<std::string> log;
    std::function<bool(const DrawProgress&)> onEvents;

private:
    void Record(std::size_t control) {
        if (control == FormModel::kRunEnded) {
            Log(model.runEnded(), kRunEndedId);
        } else if (FrmLotoControls()[control].use.role == Role::Message) {
            Log(model.ShownAt(control), FrmLotoControls()[control].name);
        }
    }
    void Log(bool shown, std::string_view name) {
        log.push_back(std::string(shown ? "+" : "-").append(name));
    }
};

}  // namespace loto::test
