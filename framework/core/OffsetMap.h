// Offsets of a rewritten text traced back to the text it was made from:
// checkpoints where the shift between the two changes, found by binary
// search. Between two checkpoints offsets run in step, and never reach the
// next checkpoint's original offset, so the bytes that one original byte
// became (a tab's spaces) all map to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class COffsetMap {
public:
    // Most checkpoints kept: past it every second one is dropped, so that
    // a pathological text costs bounded memory; offsets then stay exact at
    // the checkpoints kept and near them in between.
    static constexpr size_t kMaxCheckpoints = size_t(1) << 21;

    COffsetMap() = default;
    explicit COffsetMap(size_t maxCheckpoints) : m_max(maxCheckpoints < 2 ? 2 : maxCheckpoints) {}

    // From `rewritten` on, the rewritten text continues the original at
    // `original`. Checkpoints come in order of `rewritten` (not decreasing);
    // a second one at the same offset replaces the first.
    void Add(uint32_t rewritten, uint32_t original);
    uint32_t Original(uint32_t rewritten) const;
    size_t CheckpointCount() const { return m_points.size(); }

private:
    struct Checkpoint {
        uint32_t rewritten;
        uint32_t original;
    };
    std::vector<Checkpoint> m_points;
    size_t m_max = kMaxCheckpoints;
};
