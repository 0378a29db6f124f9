#include "cli/headless_window.h"

#include <cstdio>

#include "cli/interrupt.h"

namespace loto {
namespace {

constexpr auto kQuietStart = std::chrono::seconds{1};  // short runs print nothing
constexpr auto kProgressEvery = std::chrono::milliseconds{250};

}  // namespace

HeadlessWindow::HeadlessWindow(Inputs inputs, bool showProgress)
    : inputs_(std::move(inputs)), showProgress_(showProgress) {}

std::string HeadlessWindow::FavouriteText(int position) {
    return inputs_.at(static_cast<std::size_t>(position));
}

void HeadlessWindow::SetResultText(ResultColumn column, int k, const std::string& text) {
    results_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(k)) = text;
}

const std::string& HeadlessWindow::result(ResultColumn column, int k) const {
    return results_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(k));
}

void HeadlessWindow::SetMessageVisible(Message message, bool visible) {
    messages_.at(static_cast<std::size_t>(message)) = visible;
}

bool HeadlessWindow::messageVisible(Message message) const {
    return messages_.at(static_cast<std::size_t>(message));
}

void HeadlessWindow::SetEstimateText(const std::string& text) {
    estimate_ = text;
    // A long run says at once when it will end, not only with its results.
    if (showProgress_ && !text.empty()) {
        EndProgress();
        std::fprintf(stderr, "expected end: %s\n", text.c_str());
    }
}

bool HeadlessWindow::ProcessEvents(const DrawProgress& progress) {
    if (InterruptSignal() != 0) {
        return false;
    }
    if (!showProgress_) {
        return true;
    }
    const auto now = Clock::now();
    if (now - start_ < kQuietStart || now - lastProgress_ < kProgressEvery) {
        return true;
    }
    lastProgress_ = now;
    const char* phase = messageVisible(Message::Test) ? "speed test" : "draws";
    const double percent = progress.total == 0 ? 100.0
                                               : 100.0 * static_cast<double>(progress.done) /
                                                     static_cast<double>(progress.total);
    std::fprintf(stderr, "\r%s: %llu / %llu (%.1f %%)\033[K", phase,
                 static_cast<unsigned long long>(progress.done),
                 static_cast<unsigned long long>(progress.total), percent);
    std::fflush(stderr);
    progressShown_ = true;
    return true;
}

void HeadlessWindow::EndProgress() {
    if (progressShown_) {
        std::fputs("\r\033[K", stderr);
        progressShown_ = false;
    }
}

}  // namespace loto
