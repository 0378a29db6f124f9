#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/command_window.h"
#include "form/accessible_names.h"
#include "form/design.h"
#include "platform/event_pump.h"

namespace loto::test {

// The window's boxes as strings, with a log of the changes of its labels by their names in the
// design ("+LblTest", "-LblPatientez", "+LblFinTirages"), and its pump: a hook that runs inside
// the event processing, where a user's click would.
class RecordingWindow final : public CommandWindow, public EventPump {
public:
    RecordingWindow(std::string drawCount, std::array<std::string, kFavouriteCount> favourites)
        : drawCountText(std::move(drawCount)), favouriteTexts(std::move(favourites)) {}

    std::string DrawCountText() override { return drawCountText; }
    std::string FavouriteText(int position) override { return favouriteTexts.at(position - 1); }
    void SetEstimateText(const std::string& text) override { estimate = text; }
    void SetResultText(ResultColumn column, int k, const std::string& text) override {
        results[column].at(k) = text;
    }
    void SetMessageVisible(Message message, bool visible) override {
        messages[message] = visible;
        Log(visible, DesignedMessage(message).name);
    }
    void SetRunEnded(bool ended) override {
        runEnded = ended;
        Log(ended, kRunEndedId);
    }
    bool ProcessEvents(const DrawProgress& progress) override {
        return !onEvents || onEvents(progress);
    }

    [[nodiscard]] bool Shown(Message message) const { return messages[message]; }
    [[nodiscard]] bool ResultsEmpty() const {
        return std::ranges::all_of(results, [](const auto& column) {
            return std::ranges::all_of(column, &std::string::empty);
        });
    }

    std::string drawCountText;
    std::array<std::string, kFavouriteCount> favouriteTexts;
    std::string estimate;
    ResultTexts results;
    EnumArray<Message, bool> messages{};
    bool runEnded = false;
    std::vector<std::string> log;
    std::function<bool(const DrawProgress&)> onEvents;

private:
    void Log(bool shown, std::string_view name) {
        log.push_back(std::string(shown ? "+" : "-").append(name));
    }
};

}  // namespace loto::test
