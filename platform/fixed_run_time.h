#pragma once

#include "platform/french_dates.h"
#include "platform/run_time.h"

namespace loto {

// A fixed local date, a clock that advances by the same step at every reading, the French forms
// and a time zone `zone` east of universal time (none by default): a run whose estimate and texts
// are the same every time and everywhere (the README's picture, tests).
class FixedRunTime final : public RunTime {
public:
    FixedRunTime(LocalDateTime now, double step, std::chrono::seconds zone = {})
        : now_(now.time_since_epoch() - zone), step_(step), zone_(zone) {}

    [[nodiscard]] double MonotonicSeconds() override { return seconds_ += step_; }
    [[nodiscard]] SystemTime Now() override { return now_; }
    [[nodiscard]] LocalDateTime LocalTime(SystemTime moment) const override {
        return LocalDateTime{moment.time_since_epoch() + zone_};
    }
    [[nodiscard]] std::string DateText(LocalDateTime date) const override {
        return FrenchDateText(date);
    }
    [[nodiscard]] std::string_view DecimalSeparator() const override {
        return kFrenchDecimalSeparator;
    }

private:
    SystemTime now_;
    double step_;
    std::chrono::seconds zone_;
    double seconds_ = 0;
};

}  // namespace loto
