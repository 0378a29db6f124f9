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

}  // namespace loto
