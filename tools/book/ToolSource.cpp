#include "tools/book/ToolSource.h"

#include <string>

#include "driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"
#include "tools/book/BookTool.h"
#include "tools/book/ReportToStream.h"
#include "tools/book/SourceLocation.h"
#include "tools/book/ToolOptions.h"

bool ReadToolSourceText(const ToolOptions& options, std::istream& in, CReportToStream& reports, ToolSourceText& source)
{
    if (options.input != "-") {
        const CFile file(options.input.c_str());
        if (!file.Exists() || file.IsDirectory()) {
            reports.Write(MessageLevel::Error, "the source file \"" + options.input + "\" " +
                                                   (file.Exists()          ? "is a directory"
                                                    : file.IsNameTooLong() ? "cannot be opened: its name is too long"
                                                                           : "does not exist"));
            return false;
        }
    }
    std::unique_ptr<CMemBuffer> bytes = ReadToolSource(options.input, in);
    if (!bytes)
        return false;
    source.utf8 = options.encoding == SourceEncoding::Utf8 ||
                  (options.encoding == SourceEncoding::Auto && LooksLikeUtf8(bytes->GetData(), bytes->GetSize()));
    if (!source.utf8) {
        source.text = std::move(bytes);
        return true;
    }
    reports.Write(MessageLevel::Status, "Reading the source as UTF-8.");
    // Grown by single bytes later, as the bytes read are (tab expansion).
    auto converted = std::make_unique<CMemBuffer>(0, 1);
    Utf8Problem problem;
    if (!ConvertUtf8Source(bytes->GetData(), bytes->GetSize(), *converted, source.offsets, problem)) {
        const SourceLocation place = LocateInSource(bytes->GetData(), bytes->GetSize(), problem.offset, true);
        reports.Write(MessageLevel::Error, problem.text, &place);
        return false;
    }
    if (converted->GetSize() > kMaxSourceSize) {
        reports.Write(MessageLevel::Error, "the source \"" + ShownSourceName(options.input) +
                                               "\" is too large to build once its characters are converted (more "
                                               "than " +
                                               std::to_string(kMaxSourceSize) + " bytes)");
        return false;
    }
    source.text = std::move(converted);
    source.original = std::move(bytes);
    return true;
}

CToolSourceRun::CToolSourceRun(const ToolOptions& options, std::ostream& err)
    : m_options(options),
      m_reports(err, options.style),
      m_batch(options.batch),
      m_fromStream(options.input == "-"),
      m_file(options.input.c_str())
{
    m_reports.SetPlaces(&m_places);
}

bool CToolSourceRun::Read(std::istream& in)
{
    if (!ReadToolSourceText(m_options, in, m_reports, m_read))
        return false;
    m_places.SetSource(m_read);
    return true;
}
