#pragma once

#include <cstdint>
#include <vector>

#include "audit/gaps.h"
#include "core/draw_peers.h"

namespace loto {

// Rank 0's side of an MPI job: the other ranks as peers of its engines and calibrations.
class MpiPeers : public DrawPeers, public CalibrationPeers {
public:
    explicit MpiPeers(int size)
        : count_(static_cast<unsigned>(size - 1)), holds_(count_ + 1, false) {}

    [[nodiscard]] unsigned count() const noexcept override { return count_; }
    void Ask(unsigned peer, const DrawRule& rule, const BlockRequest& block) override;
    [[nodiscard]] BlockResult Answer(unsigned peer, const DrawRule& rule) override;
    void Ask(unsigned peer, const CalibrationPart& part) override;
    [[nodiscard]] std::uint64_t Answer(unsigned peer) override;
    // Every other rank's end.
    void End() const;

private:
    unsigned count_;
    // The observed history that the ranks hold, sent again only where it changes.
    Pool sentPool_{};
    std::vector<std::uint8_t> sentNumbers_;
    std::vector<bool> holds_;  // by peer, from 1
};

}  // namespace loto
