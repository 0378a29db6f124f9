// loto-sim: the window's commands without the window, for scripts and very large runs.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <new>

#include "cli/driver.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/raw_stream.h"

namespace {

int Run(int argc, char** argv) {
    const loto::ParsedOptions parsed = loto::ParseOptions(argc, argv);
    if (!parsed.options) {
        return parsed.exitStatus;
    }
    const loto::Options& options = *parsed.options;
    loto::CatchInterrupts();
    if (options.raw) {
        return loto::WriteRawStream(options.count);
    }
    loto::Driver driver(options);
    if (!driver.Start()) {
        return *driver.ended();
    }
    int status = 0;
    if (options.batch) {
        status = driver.RunBatch(stdin);
    } else {
        // The command that ends the run (lost output, a signal) has the highest status.
        for (int i = 0; i < options.repeat && !driver.ended(); ++i) {
            loto::HeadlessWindow::Inputs boxes;
            std::copy(options.boxes.begin(), options.boxes.end(), boxes.begin());
            status = std::max(status, driver.Run(std::move(boxes)));
        }
    }
    return std::max(status, driver.WriteChart());
}

}  // namespace

// Memory that cannot be had ends the program with a message, not an abort.
int main(int argc, char** argv) {
    // A file size limit is then an ordinary write error, reported, instead of a silent death.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("loto-sim: not enough memory\n", stderr);
        return 1;
    }
}
