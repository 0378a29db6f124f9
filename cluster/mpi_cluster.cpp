// The ranks of an MPI job. Only each process's calling thread speaks MPI; its drawing threads
// are the engine's. A block's request and its answer are plain bytes: every rank runs the same
// program on the same kind of machine.
#include <mpi.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <type_traits>

#include "cluster/cluster.h"
#include "core/parallel_engine.h"

namespace loto {
namespace {

enum Tag : int { kAsk = 1, kAnswer, kTally };

struct Request {
    DrawRule rule;
    BlockRequest block;
    bool end = false;
};

struct AnswerHead {
    OpenDraw tail;
    GeneratorState end;
};

static_assert(std::is_trivially_copyable_v<Request> && std::is_trivially_copyable_v<AnswerHead>);

// Whether mpirun started the process (Open MPI's variables, or a PMIx or PMI launcher's): alone,
// loto-sim does not pay for MPI's start.
bool StartedByMpirun() {
    return std::getenv("OMPI_COMM_WORLD_SIZE") != nullptr || std::getenv("PMIX_RANK") != nullptr ||
           std::getenv("PMI_RANK") != nullptr;
}

class MpiPeers : public DrawPeers {
public:
    explicit MpiPeers(int size) : count_(static_cast<unsigned>(size - 1)) {}

    [[nodiscard]] unsigned count() const noexcept override { return count_; }

    void Ask(unsigned peer, const DrawRule& rule, const BlockRequest& block) override {
        const Request request{.rule = rule, .block = block};
        MPI_Send(&request, sizeof request, MPI_BYTE, static_cast<int>(peer), kAsk, MPI_COMM_WORLD);
    }

    BlockResult Answer(unsigned peer, const DrawRule& rule) override {
        AnswerHead head;
        MPI_Recv(&head, sizeof head, MPI_BYTE, static_cast<int>(peer), kAnswer, MPI_COMM_WORLD,
                 MPI_STATUS_IGNORE);
        BlockResult result{
            .tally = std::vector<std::uint64_t>(static_cast<std::size_t>(rule.tiers())),
            .tail = head.tail,
            .end = head.end};
        MPI_Recv(result.tally.data(), static_cast<int>(result.tally.size()), MPI_UINT64_T,
                 static_cast<int>(peer), kTally, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
        return result;
    }

    // Every other rank's end.
    void End() const {
        const Request request{.rule = {}, .block = {}, .end = true};
        for (unsigned peer = 1; peer <= count_; ++peer) {
            MPI_Send(&request, sizeof request, MPI_BYTE, static_cast<int>(peer), kAsk,
                     MPI_COMM_WORLD);
        }
    }

private:
    unsigned count_;
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

void Cluster::Serve() {
    // mpirun passes Ctrl-C on as SIGTERM to every rank, then kills them a second later: rank 0
    // stops its run at the end of a slice and prints it, which needs the others' blocks.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
    std::optional<ParallelDrawEngine> engine;
    unsigned threads = 0;
    for (;;) {
        Request request;
        MPI_Recv(&request, sizeof request, MPI_BYTE, 0, kAsk, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
        if (request.end) {
            return;
        }
        if (!engine || threads != request.block.threads) {
            engine.reset();
            engine.emplace(request.block.threads);
            threads = request.block.threads;
        }
        const BlockResult result = engine->DrawBlock(request.block, request.rule);
        const AnswerHead head{.tail = result.tail, .end = result.end};
        MPI_Send(&head, sizeof head, MPI_BYTE, 0, kAnswer, MPI_COMM_WORLD);
        MPI_Send(result.tally.data(), static_cast<int>(result.tally.size()), MPI_UINT64_T, 0,
                 kTally, MPI_COMM_WORLD);
    }
}

}  // namespace loto
