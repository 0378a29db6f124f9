#include "cli/raw_stream.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "cli/checked_output.h"
#include "cli/interrupt.h"
#include "core/random_source.h"

namespace loto {

ExitStatus WriteRawStream(std::optional<std::uint64_t> count) {
    constexpr std::size_t kWords = 1 << 14;
    std::array<unsigned char, 4 * kWords> buffer;
    GeneratorState state = kSeedState;
    CheckedOutput out(stdout);
    for (std::uint64_t left = count.value_or(UINT64_MAX); left > 0;) {
        if (InterruptSignal() != 0) {
            return SignalStatus(InterruptSignal());
        }
        const std::size_t words = std::min<std::uint64_t>(kWords, left);
        for (std::size_t i = 0; i < words; ++i) {
            const std::uint32_t word = NextWord(state);
            for (int b = 0; b < 4; ++b) {
                buffer[4 * i + b] = static_cast<unsigned char>(word >> (8 * b));
            }
        }
        if (!out.Write({reinterpret_cast<const char*>(buffer.data()), 4 * words})) {
            const ExitStatus status = FailureStatus(out.error());
            if (status == ExitStatus::Failed) {
                std::fprintf(stderr, "loto-sim: the words cannot be written: %s\n",
                             std::strerror(out.error()));
            }
            return status;
        }
        left -= count ? words : 0;
    }
    return ExitStatus::Drew;
}

}  // namespace loto
