#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/command_window.h"
#include "platform/event_pump.h"

namespace loto::test {

// The window's boxes as strings, with a log of the message changes, and its pump: a hook that
// runs inside the event processing, where a user's click would.
class RecordingWindow final : public CommandWindow, public EventPump {
public:
    RecordingWindow(std::string drawCount, std::array<std::string, 6> favourites)
        : drawCountText(std::move(drawCount)), favouriteTexts(std::move(favourites)) {}

    std::string DrawCountText() override { return drawCountText; }
    std::string FavouriteText(int position) override { return favouriteTexts.at(position - 1); }
    void SetEstimateText(const std::string& text) override { estimate = text; }
    void SetResultText(ResultColumn column, int k, const std::string& text) override {
        results.at(static_cast<std::size_t>(column)).at(k) = text;
    }
    void SetMessageVisible(Message message, bool visible) override {
        messages.at(static_cast<std::size_t>(message)) = visible;
        log.push_back(std::string(visible ? "+" : "-").append(Name(message)));
    }
    bool ProcessEvents(const DrawProgress& progress) override {
        return !onEvents || onEvents(progress);
    }

    [[nodiscard]] const std::string& Result(ResultColumn column, int k) const {
        return results.at(static_cast<std::size_t>(column)).at(k);
    }
    [[nodiscard]] std::array<std::string, 7> Column(ResultColumn column) const {
        return results.at(static_cast<std::size_t>(column));
    }
    [[nodiscard]] bool Shown(Message message) const {
        return messages.at(static_cast<std::size_t>(message));
    }
    [[nodiscard]] bool ResultsEmpty() const {
        return std::ranges::all_of(results, [](const auto& column) {
            return std::ranges::all_of(column, &std::string::empty);
        });
    }

    static std::string Name(Message message) {
        static const char* const kNames[] = {"ValidGrille", "Test", "Patientez", "ValidNbTirages"};
        return kNames[static_cast<int>(message)];
    }

    std::string drawCountText;
    std::array<std::string, 6> favouriteTexts;
    std::string estimate;
    std::array<std::array<std::string, 7>, 3> results;
    std::array<bool, kMessageCount> messages{};
    std::vector<std::string> log;
    std::function<bool(const DrawProgress&)> onEvents;
};

}  // namespace loto::test
