#include "web/web_loto.h"

#include <emscripten.h>

#include "web/web_form.h"
#include "window/accessible_names.h"

namespace loto {
namespace {

// clang-format off
EM_JS(int, TakeClick, (), {
    return Module.lotoTakeClick();
});

EM_JS(void, EndPage, (), {
    Module.lotoEnd();
});
// clang-format on

}  // namespace

// One thread: a page opened from a file gets no others (no cross-origin isolation).
WebLoto::WebLoto() : commands_(runTime_, 1), pump_([this] { HandleClicks(); }) {
    BuildForm();
}

void WebLoto::HandleClicks() {
    for (;;) {
        switch (static_cast<PageCommand>(TakeClick())) {
            case PageCommand::None:
                return;
            case PageCommand::Simuler:
                SimulateCommand();
                break;
            case PageCommand::Effacer:
                ClearCommand();
                break;
            case PageCommand::Quitter:
                QuitCommand();
                break;
        }
    }
}

void WebLoto::SimulateCommand() {
    if (pump_.StopRequested() || runningCommands_ >= kMaxRunningCommands) {
        return;
    }
    ++runningCommands_;
    ShowElement(kRunEndedId, false);
    if (commands_.SimulateCommand(window_, pump_).outcome == Outcome::Completed) {
        ShowElement(kRunEndedId, true);
    }
    --runningCommands_;
}

void WebLoto::ClearCommand() {
    if (pump_.StopRequested()) {
        return;
    }
    ShowElement(kRunEndedId, false);
    LotoCommands::ClearCommand(window_);
}

void WebLoto::QuitCommand() {
    if (!pump_.StopRequested()) {
        pump_.RequestStop();
        EndPage();
    }
}

}  // namespace loto
