// The places of the build's messages as lines and columns of the source
// file: the source's bytes as the tool read them, kept for the messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/core/ReportPlace.h"
#include "tools/book/SourceLocation.h"

class CMessagePlaces {
public:
    // `bytes`: the source exactly as it was read, before anything of it was
    // converted; `utf8` when its columns count UTF-8 characters.
    void SetSource(const uint8_t* bytes, size_t size, bool utf8);

    // The one translation of a reported place (an offset in the text handed
    // to the build) to where it lies in the source file. False when the
    // message is about no place of the source (or an offset comes before the
    // source is known); a line of 0 when it is about the source as a whole.
    bool Locate(const ReportPlace& place, SourceLocation& location) const;

private:
    std::vector<uint8_t> m_bytes;
    bool m_utf8 = false;
    bool m_known = false;
    // A line start already found, so that messages in order of the text
    // count lines from there instead of from the start each time.
    mutable size_t m_lineStart = 0;
    mutable uint32_t m_line = 1;
};
