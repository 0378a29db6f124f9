#pragma once

#include <cstdint>

namespace loto {

// How far the running draw loop has come, for whoever shows progress.
struct DrawProgress {
    std::uint64_t done = 0;
    std::uint64_t total = 0;
};

// The platform's event processing, as the draw loop sees it: handles what is pending (a click may
// run a whole nested command inside this call) and says whether the run may go on.
class EventPump {
public:
    virtual ~EventPump() = default;
    [[nodiscard]] virtual bool ProcessEvents(const DrawProgress& progress) = 0;
};

// The per-draw hook of the draw loop. A call costs a decrement; every kDrawsPerVisit calls it is
// due, and the loop then hands control to the pump, which decides by its own clock whether
// anything needs dispatching.
class EventPumpHook {
public:
    static constexpr std::uint32_t kDrawsPerVisit = 1024;

    explicit EventPumpHook(EventPump& pump) noexcept : pump_(pump) {}

    [[nodiscard]] bool Due() noexcept { return --countdown_ == 0; }
    [[nodiscard]] bool Visit(const DrawProgress& progress) {
        countdown_ = kDrawsPerVisit;
        return pump_.ProcessEvents(progress);
    }

private:
    EventPump& pump_;
    std::uint32_t countdown_ = 1;  // the first draw visits the pump at once
};

}  // namespace loto
