#pragma once

#include "platform/system_run_time.h"

namespace loto {

// A fixed local date, a clock that advances by the same step at every reading, and the French
// forms: a run whose estimate and texts are the same every time (the README's picture, tests).
class FixedRunTime final : public RunTime {
public:
    FixedRunTime(LocalDateTime now, double step) : now_(now), step_(step) {}

    [[nodiscard]] double MonotonicSeconds() override { return seconds_ += step_; }
    [[nodiscard]] LocalDateTime Now() override { return now_; }
    [[nodiscard]] std::string DateText(LocalDateTime date) const override {
        return french_.DateText(date);
    }
    [[nodiscard]] std::string_view DecimalSeparator() const override {
        return french_.DecimalSeparator();
    }

private:
    SystemRunTime french_{TextLocale("fr_FR")};
    LocalDateTime now_;
    double step_;
    double seconds_ = 0;
};

}  // namespace loto
