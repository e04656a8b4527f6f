// The source of build and pages as the compiler is given it: read once,
// and converted from UTF-8 when --encoding says so.
#pragma once

#include <istream>
#include <memory>

#include "tools/book/SourceEncoding.h"

class CMemBuffer;
class CReportToStream;
struct ToolOptions;

struct ToolSourceText {
    std::unique_ptr<CMemBuffer> text;     // what the compiler reads
    std::unique_ptr<CMemBuffer> original; // the bytes as read when `text` was converted from them, else null
    bool utf8 = false;                    // read as UTF-8
    // Offsets in `text` back to the bytes as read, every one kept exactly.
    COffsetMap offsets{COffsetMap::kUnbounded};
};

// Reads options.input (or `in` for "-") and converts it as options.encoding
// asks; says "Reading the source as UTF-8." when it does. False after
// reporting why there is nothing to build: the source is missing or a
// folder, could not be read, or is to be UTF-8 and is not (the error gives
// the place).
bool ReadToolSourceText(const ToolOptions& options, std::istream& in, CReportToStream& reports, ToolSourceText& source);
