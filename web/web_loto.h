#pragma once

#include "core/command_session.h"
#include "web/browser_pump.h"
#include "web/browser_run_time.h"
#include "web/web_window.h"

namespace loto {

// The program in a page, a view of one command session: the designed form, the session over one
// generator seeded as the page loads, and the three buttons' clicks, taken from the page's queue
// when the program is idle and between slices of draws while it runs (so a click on SIMULER then
// runs a nested command, as on the desktop).
class WebLoto {
public:
    WebLoto();

    // Handles every queued click, each to its end.
    void HandleClicks();

private:
    // Every running command stops at its next event processing, the form goes, and the page says
    // how to start again.
    void Quit();

    BrowserRunTime runTime_;
    WebWindow window_;
    CommandSession session_;
    BrowserPump pump_;
};

}  // namespace loto
