#include "web/web_loto.h"

#include <emscripten.h>

#include "web/web_form.h"

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
WebLoto::WebLoto()
    : session_(runTime_, 1), view_(session_.model()), pump_([this] { HandleClicks(); }) {
    BuildForm();
}

bool WebLoto::WarmUp() {
    constexpr std::uint64_t kSliceDraws = 100'000;  // a few milliseconds
    constexpr double kWarmUpMs = 600;
    const double start = emscripten_get_now();
    warmUp_.Draw(scratch_, kSliceDraws, SixOfFortyNineRule(NumberMask({1, 2, 3, 4, 5, 6})),
                 scratchTally_);
    warmedMs_ += emscripten_get_now() - start;
    return warmedMs_ < kWarmUpMs;
}

void WebLoto::HandleClicks() {
    view_.TakeTyped();
    for (;;) {
        switch (static_cast<PageCommand>(TakeClick())) {
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
        }
    }
}

void WebLoto::Quit() {
    if (!session_.stopped()) {
        session_.Quit();
        EndPage();
    }
}

}  // namespace loto
