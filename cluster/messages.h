#pragma once

#include <mpi.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "core/draw_peers.h"
#include "core/game.h"

namespace loto::mpi {

// What rank 0 sends the others, as plain bytes: every rank runs the same program on the same kind
// of machine. A calibration's observed history follows its request where the rank lacks it.
enum Tag : int { kAsk = 1, kHistory, kAnswer, kTally, kCount };

enum class Kind : int { End, Block, Calibration };

struct CalibrationHead {
    std::uint64_t family = 0;
    Pool pool;
    std::uint64_t numbers = 0;  // of the observed history
    double statistic = 0;
    std::uint64_t from = 0;
    std::uint64_t to = 0;
    unsigned threads = 0;
    bool history = false;  // the observed history's numbers follow
};

struct Request {
    Kind kind = Kind::End;
    DrawRule rule{};
    BlockRequest block{};
    CalibrationHead calibration{};
};

struct BlockHead {
    OpenDraw tail;
    GeneratorState end;
};

static_assert(std::is_trivially_copyable_v<Request> && std::is_trivially_copyable_v<BlockHead>);

// Bytes in pieces that an MPI count holds; nothing for none, on both sides.
inline constexpr std::uint64_t kMostBytes = std::uint64_t{1} << 30;

inline void SendBytes(const void* data, std::uint64_t size, int to, int tag) {
    for (std::uint64_t at = 0; at < size; at += kMostBytes) {
        MPI_Send(static_cast<const char*>(data) + at,
                 static_cast<int>(std::min(kMostBytes, size - at)), MPI_BYTE, to, tag,
                 MPI_COMM_WORLD);
    }
}

inline void ReceiveBytes(void* data, std::uint64_t size, int from, int tag) {
    for (std::uint64_t at = 0; at < size; at += kMostBytes) {
        MPI_Recv(static_cast<char*>(data) + at, static_cast<int>(std::min(kMostBytes, size - at)),
                 MPI_BYTE, from, tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    }
}

}  // namespace loto::mpi
