// The source of build and pages as the compiler is given it: read once,
// and converted from UTF-8 when --encoding says so.
#pragma once

#include <istream>
#include <memory>
#include <ostream>

#include "framework/io/File.h"
#include "tools/book/MessagePlaces.h"
#include "tools/book/ReportToStream.h"
#include "tools/book/SourceEncoding.h"

class CMemBuffer;
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

// What build and pages share for one source: its messages on `err` in the
// options' style with their places in the source, the batch flag for the
// command's length, and the source read once.
class CToolSourceRun {
public:
    CToolSourceRun(const ToolOptions& options, std::ostream& err);
    CToolSourceRun(const CToolSourceRun&) = delete;
    CToolSourceRun& operator=(const CToolSourceRun&) = delete;

    // ReadToolSourceText, and the messages' places counted in the bytes as
    // read. False after reporting why there is nothing to build.
    bool Read(std::istream& in);
    // The text the compiler is to read (taken once).
    std::unique_ptr<CMemBuffer> TakeText() { return std::move(m_read.text); }
    // The source file, or null when it is standard input.
    const CFile* NamedFile() const { return m_fromStream ? nullptr : &m_file; }
    CReportToStream& Reports() { return m_reports; }

private:
    const ToolOptions& m_options;
    CReportToStream m_reports;
    CMessagePlaces m_places;
    CBatchModeScope m_batch;
    bool m_fromStream;
    CFile m_file;
    ToolSourceText m_read;
};
