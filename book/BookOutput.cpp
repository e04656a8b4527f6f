#include "book/BookOutput.h"

#include "book/RecordNames.h"
#include "framework/core/RkString.h"

CBookFileOutput::CBookFileOutput(const CFile& output) : m_output(output)
{
}

CBookFileOutput::~CBookFileOutput()
{
    Abandon();
}

BookOutputCheck CBookFileOutput::Prepare()
{
    Abandon();
    m_target.reset();
    // Found now, not by the rename at the end of a whole build.
    if (m_output.IsNameTooLong())
        return BookOutputCheck::NameTooLong;
    switch (m_output.GetKind()) {
    case kFileKindMissing:
        m_target = std::make_unique<CFile>(m_output);
        break;
    case kFileKindRegular:
        m_target.reset(m_output.ResolveLinks());
        if (!m_target)
            return BookOutputCheck::CannotCreate;
        break;
    default:
        return BookOutputCheck::NotARegularFile;
    }
    m_temporary.reset(m_target->CreateTemporarySibling());
    if (!m_temporary) {
        m_target.reset();
        return BookOutputCheck::CannotCreate;
    }
    return BookOutputCheck::Ready;
}

bool CBookFileOutput::Write(const void* bytes, uint32_t count)
{
    return m_temporary && m_temporary->Write(bytes, count) == 0;
}

bool CBookFileOutput::Finish()
{
    if (!m_temporary || !m_target)
        return false;
    // The file renamed must still be the one written: a temporary name
    // swapped for something else by another user is not moved anywhere.
    bool ok = m_temporary->Flush() == 0 && m_temporary->PathNamesOpenFile();
    ok = m_temporary->Close() == 0 && ok;
    // What took the output's place since the check is not replaced.
    const uint32_t kind = m_target->GetKind();
    ok = ok && (kind == kFileKindMissing || kind == kFileKindRegular);
    if (!ok || m_temporary->MoveTo(*m_target) != 0) {
        Abandon();
        return false;
    }
    m_temporary->RemoveOnInterrupt(false);
    m_temporary.reset();
    return true;
}

std::string CBookFileOutput::ShownName() const
{
    CRkString path;
    m_output.GetPath(path);
    return DeviceLatinText(path);
}

void CBookFileOutput::Abandon()
{
    if (!m_temporary)
        return;
    const bool ours = !m_temporary->IsOpen() || m_temporary->PathNamesOpenFile();
    if (m_temporary->IsOpen())
        m_temporary->Close();
    if (ours)
        m_temporary->Delete();
    m_temporary->RemoveOnInterrupt(false);
    m_temporary.reset();
}
