#include "tools/book/HeldBookOutput.h"

#include "book/RecordNames.h"
#include "driver/DatabaseName.h"
#include "driver/OutputPaths.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"

namespace {

// As the build shows paths in its messages.
constexpr size_t kPathInMessage = 255;

std::string ShownPath(const CFile& file)
{
    return ::ShownPath(file, kPathInMessage);
}

} // namespace

bool CHeldBookOutput::PrepareFile(const CFile* source, CFile& output)
{
    if (source && source->IsSameFile(output)) {
        ReportError("The input and output files are the same! (%s)", ShownPath(*source).c_str());
        return false;
    }
    m_file = std::make_unique<CBookFileOutput>(output);
    switch (m_file->Prepare()) {
    case BookOutputCheck::Ready:
        break;
    case BookOutputCheck::NotARegularFile:
        ReportError("The file \"%s\" is not a regular file; it was left as it is.", ShownPath(output).c_str());
        return false;
    case BookOutputCheck::CannotCreate:
        ReportError("The file \"%s\" could not be opened for writing.", ShownPath(output).c_str());
        return false;
    case BookOutputCheck::NameTooLong:
        ReportError("The file \"%s\" could not be opened for writing: its name is too long.",
                    ShownPath(output).c_str());
        return false;
    }
    CRkString imageDirectory;
    SourceImageDirectory(source, imageDirectory);
    std::unique_ptr<CFile> folder(m_file->Target()->GetParent());
    if (folder && !imageDirectory.IsEmpty() && InImageDirectory(*folder, imageDirectory)) {
        m_file->Abandon();
        ReportError("The file \"%s\" is in the book's image directory; the book is not written there.",
                    ShownPath(output).c_str());
        return false;
    }
    return true;
}

bool CHeldBookOutput::Write(const void* bytes, uint32_t count)
{
    if (m_file)
        return m_file->Write(bytes, count);
    const char* p = static_cast<const char*>(bytes);
    m_bytes.insert(m_bytes.end(), p, p + count);
    return true;
}

bool CHeldBookOutput::Finish()
{
    if (m_warned()) {
        // The book is whole, so the build goes on to its end; it only
        // never reaches the output.
        m_heldBack = true;
        if (m_file)
            m_file->Abandon();
        m_bytes.clear();
        return true;
    }
    if (m_file)
        return m_file->Finish();
    if (!m_stream)
        return false;
    m_stream->write(m_bytes.data(), std::streamsize(m_bytes.size()));
    return bool(m_stream->flush());
}

std::string CHeldBookOutput::ShownName() const
{
    return m_file ? m_file->ShownName() : "<standard output>";
}
