#pragma once

#include "core/commands.h"
#include "web/browser_pump.h"
#include "web/browser_run_time.h"
#include "web/web_window.h"

namespace loto {

// The program in a page: the designed form, the commands over one generator seeded as the page
// loads, and the three buttons' clicks, taken from the page's queue when the program is idle and
// between slices of draws while it runs (so a click on SIMULER then runs a nested command, as on
// the desktop).
class WebLoto {
public:
    WebLoto();

    // Handles every queued click, each to its end.
    void HandleClicks();

    // A click on "SIMULER" during a run starts a nested command; past this many running
    // commands, as on the desktop, a click does nothing.
    static constexpr int kMaxRunningCommands = 100;

private:
    void SimulateCommand();
    void ClearCommand();
    // Every running command stops at its next event processing, the form goes, and the page says
    // how to start again.
    void QuitCommand();

    BrowserRunTime runTime_;
    WebWindow window_;
    LotoCommands commands_;
    BrowserPump pump_;
    int runningCommands_ = 0;
};

}  // namespace loto
