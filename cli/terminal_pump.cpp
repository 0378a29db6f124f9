#include "cli/terminal_pump.h"

#include <cstdio>

#include "cli/interrupt.h"
#include "cli/text_format.h"

namespace loto {
namespace {

constexpr auto kQuietStart = std::chrono::seconds{1};  // short runs print nothing
constexpr auto kProgressEvery = std::chrono::milliseconds{250};

}  // namespace

void TerminalPump::StartCommand() {
    estimateSaid_ = false;
    start_ = lastProgress_ = Clock::now();
}

// A long run says when it will end as soon as its speed test is over, not only with its results.
void TerminalPump::SayEstimate(std::string_view estimate) {
    if (estimateSaid_ || estimate.empty()) {
        return;
    }
    EndProgress();
    std::fprintf(stderr, "expected end: %.*s\n", static_cast<int>(estimate.size()),
                 estimate.data());
    estimateSaid_ = true;
}

bool TerminalPump::ProcessEvents(const DrawProgress& progress) {
    if (InterruptSignal() != 0) {
        return false;
    }
    if (!showProgress_) {
        return true;
    }
    // The estimate, once shown with the draws under way.
    const CommandShown shown = shown_();
    if (!shown.speedTest) {
        SayEstimate(shown.estimate);
    }
    const auto now = Clock::now();
    if (now - start_ < kQuietStart || now - lastProgress_ < kProgressEvery) {
        return true;
    }
    lastProgress_ = now;
    const char* phase = shown.speedTest ? "speed test" : "draws";
    const double percent = progress.total == 0 ? 100.0
                                               : 100.0 * static_cast<double>(progress.done) /
                                                     static_cast<double>(progress.total);
    const std::string share = WithSeparator(Printf("%.1f", percent), separator_);
    std::fprintf(stderr, "\r%s: %llu / %llu (%s %%)\033[K", phase,
                 static_cast<unsigned long long>(progress.done),
                 static_cast<unsigned long long>(progress.total), share.c_str());
    std::fflush(stderr);
    progressShown_ = true;
    return true;
}

void TerminalPump::EndProgress() {
    if (progressShown_) {
        std::fputs("\r\033[K", stderr);
        progressShown_ = false;
    }
}

}  // namespace loto
