// The places of the build's messages as lines and columns of the source
// file as the tool read it.
#pragma once

#include <memory>

#include "framework/core/ReportPlace.h"
#include "tools/book/SourceLocation.h"

class COffsetMap;
struct ToolSourceText;

class CMessagePlaces {
public:
    // The source as read, before its text is handed to the build: its lines
    // are indexed now. A source converted from UTF-8 keeps its original
    // bytes and offset map in `source`, which must then outlive the reports.
    void SetSource(const ToolSourceText& source);

    // The one translation of a reported place (an offset in the text handed
    // to the build) to where it lies in the source file: through the
    // conversion's offset map when there was one, then to line and column
    // of the bytes as read. False when the message is about no place of the
    // source (or comes before the source is known); a line of 0 when it is
    // about the source as a whole.
    bool Locate(const ReportPlace& place, SourceLocation& location) const;

private:
    std::unique_ptr<CSourceLines> m_lines;
    const COffsetMap* m_offsets = nullptr; // null: offsets are those of the bytes as read
};
