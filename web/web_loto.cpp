#include "web/web_loto.h"

#include <emscripten.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "core/game_input.h"
#include "panel/panel_table.h"
#include "panel/panel_words.h"
#include "web/audit_view.h"
#include "web/panel_view.h"
#include "web/web_form.h"

namespace loto {
namespace {

// clang-format off
EM_JS(int, TakeClick, (int allowed), {
    return Module.lotoTakeClick(allowed);
});

EM_JS(void, EndPage, (), {
    Module.lotoEnd();
});
// clang-format on

constexpr int Bit(PageCommand command) {
    return 1 << static_cast<int>(command);
}

// A run's progress, shown a few times a second between the page's turns; the run stops once
// QUITTER was clicked.
class ProgressPump final : public EventPump {
public:
    ProgressPump(EventPump& page, const CommandSession& session,
                 std::function<void(const DrawProgress&)> show)
        : page_(page), session_(session), show_(std::move(show)) {}

    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override {
        constexpr double kShownEveryMs = 100;
        const bool goOn = page_.ProcessEvents(progress);
        if (session_.stopped()) {
            return false;
        }
        if (emscripten_get_now() - shownAt_ >= kShownEveryMs) {
            show_(progress);
            shownAt_ = emscripten_get_now();
        }
        return goOn;
    }

private:
    EventPump& page_;
    const CommandSession& session_;
    std::function<void(const DrawProgress&)> show_;
    double shownAt_ = 0;
};

// A run of the warm-up: a few milliseconds, no speed test.
GameRequest WarmUpRun(const DrawRule& rule, bool firstHits) {
    constexpr double kValues = 600'000;
    return {.requested = std::floor(kValues / ValuesPerDraw(rule.game)),
            .rule = rule,
            .speedTest = false,
            .firstHits = firstHits};
}

}  // namespace

// One thread: a page opened from a file gets no others (no cross-origin isolation).
WebLoto::WebLoto()
    : session_(runTime_, 1),
      view_(session_.model()),
      pump_([this] { HandleClicks(); }),
      panel_(runTime_, 1) {
    BuildForm();
    ShowRulesChoices();
    warmUpRuns_.push_back(WarmUpRun(SixOfFortyNineRule(NumberMask({1, 2, 3, 4, 5, 6})), false));
    for (const std::string& text : PanelGameChoices()) {
        if (const std::optional<Game> game = ParseGame(text).game) {
            warmUpRuns_.push_back(
                WarmUpRun(FirstNumbersRule(*game, game->main.drawn,
                                           game->hasSecond() ? game->second.drawn : 0),
                          true));
        }
    }
}

bool WebLoto::WarmUp() {
    constexpr double kWarmUpMs = 600;  // of draws: the panel's command once is not counted
    if (!panelWarmed_) {
        panelWarmed_ = true;
        WarmUpPanel();
        return true;
    }
    const double start = emscripten_get_now();
    (void)warmUp_.Simulate(warmUpRuns_[warmUpsDone_++ % warmUpRuns_.size()], pump_);
    warmedMs_ += emscripten_get_now() - start;
    return warmedMs_ < kWarmUpMs;
}

void WebLoto::WarmUpPanel() {
    PanelSession panel(runTime_, 1);
    PanelFields fields{.draws = "1000", .price = "2", .prizes = "3=5 6=1000000"};
    (void)MakePanelTable(panel.Run(fields, PanelCommand::Run, pump_).figures);
}

void WebLoto::HandleClicks() {
    view_.TakeTyped();
    for (;;) {
        switch (static_cast<PageCommand>(TakeClick(AllowedClicks()))) {
            case PageCommand::None:
                return;
            case PageCommand::Simuler:
                (void)session_.ClickSimuler(pump_);
                break;
            case PageCommand::Effacer:
                session_.ClickEffacer();
                break;
            case PageCommand::Quitter:
                Quit();
                break;
            case PageCommand::Lancer:
                RunPanel(PanelCommand::Run);
                break;
            case PageCommand::JusquAuRang:
                RunPanel(PanelCommand::Until);
                break;
            case PageCommand::Regles:
                FillPanel();
                break;
            case PageCommand::AuditFichier:
                ShowAuditHead(ReadAuditHead(AuditTyped().text));
                break;
            case PageCommand::AuditLancer:
                RunAudit();
                break;
        }
    }
}

int WebLoto::AllowedClicks() const noexcept {
    int allowed = Bit(PageCommand::Effacer) | Bit(PageCommand::Quitter) | Bit(PageCommand::Regles);
    if (!panelRunning_ && !auditRunning_) {
        allowed |= Bit(PageCommand::Simuler);
        if (session_.running() == 0) {
            allowed |= Bit(PageCommand::Lancer) | Bit(PageCommand::JusquAuRang) |
                       Bit(PageCommand::AuditFichier) | Bit(PageCommand::AuditLancer);
        }
    }
    return allowed;
}

void WebLoto::RunPanel(PanelCommand command) {
    panelRunning_ = true;
    ShowPanelStarted();
    ProgressPump pump(pump_, session_, [this](const DrawProgress& progress) {
        const GameSession& game = panel_.game();
        ShowPanelProgress(progress, PanelDrawingText(game.inSpeedTest(), game.estimateText(),
                                                     panel_.repetition()));
    });
    const PanelShown shown = panel_.Run(PanelTyped(), command, pump);
    panelRunning_ = false;
    if (!session_.stopped()) {
        ShowPanel(shown);
    }
}

void WebLoto::FillPanel() {
    const PanelFields typed = PanelTyped();
    if (const std::optional<PanelFields> filled = RulesFields(typed.rules, typed)) {
        ShowPanelFields(*filled);
    }
}

void WebLoto::RunAudit() {
    auditRunning_ = true;
    ShowAuditStarted();
    ProgressPump pump(pump_, session_, ShowAuditProgress);
    const AuditShown shown = RunAuditPanel(AuditTyped(), pump);
    auditRunning_ = false;
    if (!session_.stopped()) {
        ShowAudit(shown);
    }
}

void WebLoto::Quit() {
    if (!session_.stopped()) {
        session_.Quit();
        EndPage();
    }
}

}  // namespace loto
