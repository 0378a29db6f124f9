// The web page's program: the form is built and the generator seeded as the page loads; the
// page then calls LotoHandleClicks whenever a click is queued while the program is idle, and
// LotoWarmUp while it waits for the first.
#include <emscripten.h>

#include "web/web_loto.h"

namespace {

loto::WebLoto& Page() {
    static loto::WebLoto page;
    return page;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void LotoHandleClicks() {
    Page().HandleClicks();
}

extern "C" EMSCRIPTEN_KEEPALIVE int LotoWarmUp() {
    return Page().WarmUp() ? 1 : 0;
}

int main() {
    Page();
    return 0;
}
