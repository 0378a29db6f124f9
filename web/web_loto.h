#pragma once

#include "core/parallel_engine.h"
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

    // A browser compiles a loop in tiers, the fastest only once it has run a while: the first
    // speed test would time the slower tiers and predict too late an end. So the draw loop runs
    // on a state of its own, in slices, while the page waits for its first click; true while
    // more is wanted.
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

    BrowserRunTime runTime_;
    CommandSession session_;
    PageView view_;
    BrowserPump pump_;
    PanelSession panel_;
    bool panelRunning_ = false;
    bool auditRunning_ = false;
    ParallelDrawEngine warmUp_{1};
    GeneratorState scratch_ = kSeedState;  // never the commands' generator
    Tally scratchTally_{};
    double warmedMs_ = 0;
};

}  // namespace loto
