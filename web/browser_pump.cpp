#include "web/browser_pump.h"

#include <emscripten.h>

namespace loto {
namespace {

// clang-format off
EM_ASYNC_JS(void, YieldToBrowser, (), {
    await new Promise(function(resolve) {
        const channel = new MessageChannel();
        channel.port1.onmessage = function() { resolve(); };
        channel.port2.postMessage(0);
    });
});
// clang-format on

double Seconds() {
    return emscripten_get_now() / 1000;
}

}  // namespace

BrowserPump::BrowserPump(std::function<void()> handleClicks)
    : handleClicks_(std::move(handleClicks)), lastYield_(Seconds()) {}

bool BrowserPump::ProcessEvents(const DrawProgress&) {
    if (Seconds() - lastYield_ >= kYieldEverySeconds) {
        YieldToBrowser();
        lastYield_ = Seconds();
        handleClicks_();
    }
    return true;
}

}  // namespace loto
