// loto-sim: the window's commands without the window, for scripts and very large runs.
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#include "cli/audit_command.h"
#include "cli/driver.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/raw_stream.h"

namespace {

loto::ExitStatus Run(int argc, char** argv) {
    const loto::ParsedOptions parsed = loto::ParseOptions(argc, argv);
    if (!parsed.options) {
        return parsed.exitStatus;
    }
    const loto::Options& options = *parsed.options;
    if (options.audit.asked()) {
        return loto::RunAudit(options);  // before interrupts are caught: Ctrl-C ends it at once
    }
    loto::CatchInterrupts();
    if (options.mode.output == loto::Output::Raw) {
        return loto::WriteRawStream(options.count);
    }
    loto::Driver driver(options);
    driver.RunCommands(stdin);
    return driver.Finish();
}

}  // namespace

// Memory that cannot be had, or a figure that a library cannot compute (Boost's laws throw where a
// value leaves their domain), ends the program with a message, not an abort.
int main(int argc, char** argv) {
    // A file size limit is then an ordinary write error, reported, instead of a silent death.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        return static_cast<int>(Run(argc, argv));
    } catch (const std::bad_alloc&) {
        std::fputs("loto-sim: not enough memory\n", stderr);
        return static_cast<int>(loto::ExitStatus::Failed);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "loto-sim: a figure cannot be computed: %s\n", error.what());
        return static_cast<int>(loto::ExitStatus::Failed);
    }
}
