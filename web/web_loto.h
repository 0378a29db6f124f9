#pragma once

#include <cstddef>
#include <vector>

#include "core/game_session.h"
#include "form/command_session.h"
#include "panel/audit_panel.h"
#include "panel/panel_session.h"
#include "web/browser_pump.h"
#include "web/browser_run_time.h"
#include "web/page_view.h"

namespace loto {

// The program in a page, a view of one command session: the designed form, the session over one
// generator seeded as the page loads, and the three buttons' clicks, taken from the page's queue
// when the program is idle and between slices of draws while it runs (so a click on SIMULER then
// runs a nested command, as on the desktop), with what was typed meanwhile. Beside it the panel of
// any game, over a generator of its own: neither's run nests in the other's, a click on the other's
// run buttons waits in the queue until the run ends; QUITTER stops both.
class WebLoto {
public:
    WebLoto();

    // Takes what was typed, then handles every queued click, each to its end.
    void HandleClicks();

    // A browser compiles code in tiers, the fastest only once it has run a while: the first
    // speed test would time the slower tiers and predict too late an end, and a first run of the
    // panel (its draws watched for first hits, and the browser's glue of a turn between slices)
    // went at 0.6 of the next in Chromium. So, while the page waits for its first click, short
    // runs draw on a session of their own with the page's pump, in turn: 6/49 as the form draws
    // it, then each game of the panel's list as the panel does; true while more is wanted. The
    // first call runs the panel's whole command once (WarmUpPanel).
    bool WarmUp();

private:
    // Every running command stops at its next event processing, the form goes, and the page says
    // how to start again.
    void Quit();
    // The clicks that may be taken now, one bit by PageCommand.
    [[nodiscard]] int AllowedClicks() const noexcept;
    void RunPanel(PanelCommand command);
    // The panel's boxes as the example rules chosen fill them.
    void FillPanel();
    void RunAudit();
    // A browser compiles a function the first time that it runs: a first click on LANCER waited
    // 0.1 s before its run started, and its figures took 0.03 s more, in Chromium (a second click,
    // none of that). So the panel's command runs once, on a panel of its own, its table made and
    // not shown.
    void WarmUpPanel();

    BrowserRunTime runTime_;
    CommandSession session_;
    PageView view_;
    BrowserPump pump_;
    PanelSession panel_;
    bool panelRunning_ = false;
    bool auditRunning_ = false;
    GameSession warmUp_{runTime_, 1};  // never the commands' generator
    std::vector<GameRequest> warmUpRuns_;
    bool panelWarmed_ = false;
    std::size_t warmUpsDone_ = 0;
    double warmedMs_ = 0;
};

}  // namespace loto
