#include "cluster/mpi_peers.h"

#include "cluster/messages.h"

namespace loto {

void MpiPeers::Ask(unsigned peer, const DrawRule& rule, const BlockRequest& block) {
    const mpi::Request request{.kind = mpi::Kind::Block, .rule = rule, .block = block};
    mpi::SendBytes(&request, sizeof request, static_cast<int>(peer), mpi::kAsk);
}

BlockResult MpiPeers::Answer(unsigned peer, const DrawRule& rule) {
    mpi::BlockHead head;
    mpi::ReceiveBytes(&head, sizeof head, static_cast<int>(peer), mpi::kAnswer);
    BlockResult result{.tally = std::vector<std::uint64_t>(static_cast<std::size_t>(rule.tiers())),
                       .tail = head.tail,
                       .end = head.end};
    mpi::ReceiveBytes(result.tally.data(), result.tally.size() * sizeof(std::uint64_t),
                      static_cast<int>(peer), mpi::kTally);
    return result;
}

void MpiPeers::Ask(unsigned peer, const CalibrationPart& part) {
    const PoolHistory& observed = *part.observed;
    if (observed.numbers != sentNumbers_ || static_cast<const Pool&>(observed) != sentPool_) {
        sentNumbers_ = observed.numbers;
        sentPool_ = observed;
        holds_.assign(count_ + 1, false);
    }
    const mpi::Request request{.kind = mpi::Kind::Calibration,
                               .calibration = {.family = part.family,
                                               .pool = observed,
                                               .numbers = observed.numbers.size(),
                                               .statistic = part.statistic,
                                               .from = part.from,
                                               .to = part.to,
                                               .threads = part.threads,
                                               .history = !holds_[peer]}};
    mpi::SendBytes(&request, sizeof request, static_cast<int>(peer), mpi::kAsk);
    if (!holds_[peer]) {
        mpi::SendBytes(observed.numbers.data(), observed.numbers.size(), static_cast<int>(peer),
                       mpi::kHistory);
        holds_[peer] = true;
    }
}

std::uint64_t MpiPeers::Answer(unsigned peer) {
    std::uint64_t count = 0;
    mpi::ReceiveBytes(&count, sizeof count, static_cast<int>(peer), mpi::kCount);
    return count;
}

void MpiPeers::End() const {
    const mpi::Request request{.kind = mpi::Kind::End};
    for (unsigned peer = 1; peer <= count_; ++peer) {
        mpi::SendBytes(&request, sizeof request, static_cast<int>(peer), mpi::kAsk);
    }
}

}  // namespace loto
