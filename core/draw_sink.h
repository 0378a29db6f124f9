#pragma once

#include <cstdint>
#include <vector>

namespace loto {

// Where a run tells its draws in order, as a process that follows them draw by draw needs them:
// the draws in a few marked tiers one by one, the others only counted between them. The chunks
// mark where such a draw ends as they are generated, so that the many draws between cost next to
// nothing.
class DrawSink {
public:
    explicit DrawSink(std::vector<std::uint8_t> markedTiers) : marked_(std::move(markedTiers)) {}
    virtual ~DrawSink() = default;
    DrawSink(const DrawSink&) = delete;
    DrawSink& operator=(const DrawSink&) = delete;

    // By tier: nonzero where its draws are told one by one.
    [[nodiscard]] const std::vector<std::uint8_t>& marked() const noexcept { return marked_; }
    [[nodiscard]] bool Marks(int tier) const noexcept {
        return marked_[static_cast<std::size_t>(tier)] != 0;
    }

    // The next `draws` draws, none in a marked tier.
    virtual void Pass(std::uint64_t draws) = 0;
    // The next `passed` draws, none in a marked tier, then one in the marked tier `tier`.
    virtual void Hit(std::uint64_t passed, int tier) = 0;

private:
    std::vector<std::uint8_t> marked_;
};

}  // namespace loto
