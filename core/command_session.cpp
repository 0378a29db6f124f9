#include "core/command_session.h"

namespace loto {
namespace {

// The front end's pump, which also stops the session when it says the run may not go on, and
// says so itself once the session has stopped.
class SessionPump final : public EventPump {
public:
    SessionPump(EventPump& pump, CommandSession& session) : pump_(pump), session_(session) {}

    bool ProcessEvents(const DrawProgress& progress) override {
        if (!session_.stopped() && !pump_.ProcessEvents(progress)) {
            session_.Quit();
        }
        return !session_.stopped();
    }

private:
    EventPump& pump_;
    CommandSession& session_;
};

}  // namespace

std::optional<SimulateReport> CommandSession::Simulate(CommandWindow& window, EventPump& pump) {
    if (stopped_ || running_ >= kMaxRunningCommands) {
        return std::nullopt;
    }
    ++running_;
    window.SetRunEnded(false);
    SessionPump session(pump, *this);
    SimulateReport report = commands_.SimulateCommand(window, session);
    if (report.outcome == Outcome::Completed) {
        window.SetRunEnded(true);
    }
    --running_;
    return report;
}

void CommandSession::Clear(CommandWindow& window) {
    if (!stopped_) {
        window.SetRunEnded(false);
        LotoCommands::ClearCommand(window);
    }
}

}  // namespace loto
