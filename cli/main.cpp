// loto-sim: the window's commands without the window, for scripts and very large runs.
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <variant>

#include "cli/audit_run.h"
#include "cli/form_run.h"
#include "cli/game_run.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/raw_stream.h"
#include "cluster/cluster.h"

namespace {

// A runner for each mode. The audit runs before interrupts are caught: Ctrl-C ends it at once.
// The modes that draw share their long runs and calibrations with the cluster's other ranks, if
// any.
struct Runner {
    loto::Cluster& cluster;

    loto::ExitStatus operator()(const loto::AuditMode& mode) const {
        return loto::RunAudit(mode, cluster.calibrationPeers());
    }
    loto::ExitStatus operator()(const loto::RawMode& mode) const {
        loto::CatchInterrupts();
        return loto::WriteRawStream(mode.count);
    }
    loto::ExitStatus operator()(const loto::FormMode& mode) const {
        loto::CatchInterrupts();
        return loto::RunForm(mode, cluster.peers());
    }
    loto::ExitStatus operator()(const loto::GameMode& mode) const {
        loto::CatchInterrupts();
        return loto::RunGame(mode, cluster.peers());
    }
};

loto::ExitStatus Run(int argc, char** argv, loto::Cluster& cluster) {
    const loto::ParsedOptions parsed = loto::ParseOptions(argc, argv);
    return parsed.mode ? std::visit(Runner{cluster}, *parsed.mode) : parsed.exitStatus;
}

}  // namespace

// Memory that cannot be had, or a figure that a library cannot compute (Boost's laws throw where a
// value leaves their domain), ends the program with a message, not an abort.
int main(int argc, char** argv) {
    // A file size limit is then an ordinary write error, reported, instead of a silent death.
    std::signal(SIGXFSZ, SIG_IGN);
    // Under mpirun, only rank 0 reads the options and prints; the others draw what it asks.
    loto::Cluster cluster(argc, argv);
    if (!cluster.leader()) {
        cluster.Serve();
        return 0;
    }
    try {
        return static_cast<int>(Run(argc, argv, cluster));
    } catch (const std::bad_alloc&) {
        std::fputs("loto-sim: not enough memory\n", stderr);
        return static_cast<int>(loto::ExitStatus::Failed);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "loto-sim: a figure cannot be computed: %s\n", error.what());
        return static_cast<int>(loto::ExitStatus::Failed);
    }
}
