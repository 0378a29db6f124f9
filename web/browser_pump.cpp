#include "web/browser_pump.h"

#include <emscripten.h>

namespace loto {
namespace {

// A turn is a round trip through one MessageChannel, which browsers do not clamp as they clamp
// timers; one channel for every turn, as WebKit slows down with every channel left open. Some
// browsers (Firefox) then seldom draw a frame between two turns: once a frame is more than
// kFrameOverdueMs late, the turn waits for it, so that the page repaints at 30 frames a second
// or more while it draws; where frames come on their own (Chromium, WebKit) it never waits.
// A page that is not drawn (a hidden tab, a frame scrolled out of view) gets no frames at all:
// a frame asked for kFrameStalledMs ago and still not drawn is waited for no longer, and the
// turns go on without frames until one comes.
// clang-format off
EM_ASYNC_JS(void, YieldToBrowser, (double frameOverdueMs, double frameStalledMs), {
    if (!Module.lotoTurns) {
        const channel = new MessageChannel();
        const waiting = [];
        channel.port1.onmessage = function() { waiting.shift()(); };
        Module.lotoTurns = {
            last: performance.now(),
            asked: 0,
            next: null,
            turn: function() {
                return new Promise(function(resolve) {
                    waiting.push(resolve);
                    channel.port2.postMessage(0);
                });
            }
        };
    }
    const turns = Module.lotoTurns;
    const now = performance.now();
    if (!turns.next) {
        turns.asked = now;
        turns.next = new Promise(function(drawn) {
            requestAnimationFrame(function() {
                turns.last = performance.now();
                turns.next = null;
                drawn();
            });
        });
    }
    if (now - turns.last <= frameOverdueMs || now - turns.asked >= frameStalledMs) {
        await turns.turn();
    } else {
        await Promise.race([turns.next, new Promise(function(stalled) {
            setTimeout(stalled, frameStalledMs - (now - turns.asked));
        })]);
    }
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
        YieldToBrowser(kFrameOverdueMs, kFrameStalledMs);
        lastYield_ = Seconds();
        handleClicks_();
    }
    return true;
}

}  // namespace loto
