// Offsets of a rewritten text traced back to the text it was made from:
// checkpoints where the shift between the two changes, found by binary
// search. Between two checkpoints offsets run in step, and never reach the
// next checkpoint's original offset, so the bytes that one original byte
// became (a tab's spaces) all map to it. A held checkpoint maps every byte
// up to the next one to its own original offset: the bytes that one
// character of several bytes became (a \U code) all map to its first byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class COffsetMap {
public:
    // Most checkpoints kept by default: past it every second one is
    // dropped, so that a pathological text costs bounded memory; offsets
    // then stay exact at the checkpoints kept and near them in between.
    static constexpr size_t kMaxCheckpoints = size_t(1) << 21;
    // No bound: every checkpoint is kept (eight bytes each).
    static constexpr size_t kUnbounded = SIZE_MAX;

    COffsetMap() = default;
    explicit COffsetMap(size_t maxCheckpoints) : m_max(maxCheckpoints < 2 ? 2 : maxCheckpoints) {}

    // From `rewritten` on, the rewritten text continues the original at
    // `original`, in step or `held` there. Checkpoints come in order of
    // `rewritten` (not decreasing); a second one at the same offset
    // replaces the first, and one that only continues the run in step
    // before it is not kept.
    void Add(uint32_t rewritten, uint32_t original, bool held = false);
    uint32_t Original(uint32_t rewritten) const;
    size_t CheckpointCount() const { return m_points.size(); }
    void Reserve(size_t count) { m_points.reserve(m_points.size() + count); }

private:
    struct Checkpoint {
        uint32_t rewritten;
        uint32_t original; // kHeld set: a held checkpoint
    };
    // Offsets stay below 2^31 (a source is at most 512 MiB, rewritten at
    // most three times longer).
    static constexpr uint32_t kHeld = 0x80000000u;
    std::vector<Checkpoint> m_points;
    size_t m_max = kMaxCheckpoints;
};
