// The ranks of an MPI job. Only each process's calling thread speaks MPI; its drawing threads
// are the engine's and the calibration's.
#include <mpi.h>

#include <csignal>
#include <cstdlib>
#include <optional>

#include "audit/fair_histories.h"
#include "cluster/cluster.h"
#include "cluster/messages.h"
#include "cluster/mpi_peers.h"
#include "core/parallel_engine.h"

namespace loto {
namespace {

// Whether mpirun started the process (Open MPI's variables, or a PMIx or PMI launcher's): alone,
// loto-sim does not pay for MPI's start.
bool StartedByMpirun() {
    return std::getenv("OMPI_COMM_WORLD_SIZE") != nullptr || std::getenv("PMIX_RANK") != nullptr ||
           std::getenv("PMI_RANK") != nullptr;
}

// Another rank's part: an engine for blocks of draws, and the observed history of the calibration
// under way with its gaps' classes.
class Servant {
public:
    void DrawBlock(const mpi::Request& request) {
        if (!engine_ || asked_ != request.block.threads) {
            engine_.reset();
            engine_.emplace(request.block.threads);
            asked_ = request.block.threads;
        }
        const BlockResult result = engine_->DrawBlock(request.block, request.rule);
        const mpi::BlockHead head{.tail = result.tail, .end = result.end};
        mpi::SendBytes(&head, sizeof head, 0, mpi::kAnswer);
        mpi::SendBytes(result.tally.data(), result.tally.size() * sizeof(std::uint64_t), 0,
                       mpi::kTally);
    }

    void Calibrate(const mpi::CalibrationHead& head) {
        if (head.history) {
            observed_.drawn = head.pool.drawn;
            observed_.top = head.pool.top;
            observed_.numbers.resize(head.numbers);
            mpi::ReceiveBytes(observed_.numbers.data(), head.numbers, 0, mpi::kHistory);
            test_.emplace(observed_);
        }
        const GapCalibration calibration{.source = FairHistories(head.family),
                                         .threads = head.threads};
        const std::uint64_t count =
            CountAtLeast(*test_, head.statistic, observed_, calibration, head.from, head.to);
        mpi::SendBytes(&count, sizeof count, 0, mpi::kCount);
    }

private:
    std::optional<ParallelDrawEngine> engine_;
    unsigned asked_ = 0;  // the threads its engine was made for
    PoolHistory observed_{};
    std::optional<GapChiSquare> test_;
};

}  // namespace

struct Cluster::Job {
    int rank = 0;
    std::optional<MpiPeers> peers;
};

Cluster::Cluster(int& argc, char**& argv) {
    if (!StartedByMpirun()) {
        return;
    }
    int provided = 0;
    MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
    job_ = std::make_unique<Job>();
    int size = 1;
    MPI_Comm_rank(MPI_COMM_WORLD, &job_->rank);
    MPI_Comm_size(MPI_COMM_WORLD, &size);
    if (job_->rank == 0 && size > 1) {
        job_->peers.emplace(size);
    }
}

Cluster::~Cluster() {
    if (job_ == nullptr) {
        return;
    }
    if (job_->peers) {
        job_->peers->End();
    }
    MPI_Finalize();
}

bool Cluster::leader() const noexcept {
    return job_ == nullptr || job_->rank == 0;
}

DrawPeers* Cluster::peers() noexcept {
    return job_ != nullptr && job_->peers ? &*job_->peers : nullptr;
}

CalibrationPeers* Cluster::calibrationPeers() noexcept {
    return job_ != nullptr && job_->peers ? &*job_->peers : nullptr;
}

void Cluster::Serve() {
    // mpirun passes Ctrl-C on as SIGTERM to every rank, then kills them a second later: rank 0
    // stops its run at the end of a slice and prints it, which needs the others' blocks.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
    Servant servant;
    for (;;) {
        mpi::Request request;
        mpi::ReceiveBytes(&request, sizeof request, 0, mpi::kAsk);
        switch (request.kind) {
            case mpi::Kind::End:
                return;
            case mpi::Kind::Block:
                servant.DrawBlock(request);
                break;
            case mpi::Kind::Calibration:
                servant.Calibrate(request.calibration);
                break;
        }
    }
}

}  // namespace loto
