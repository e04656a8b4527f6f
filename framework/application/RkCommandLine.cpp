#include "framework/application/RkCommandLine.h"

#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkSystemImp.h"
#include "framework/io/File.h"

namespace {

constexpr char16_t kSpace = u' ';
constexpr char16_t kQuote = u'"';
constexpr char16_t kHyphen = u'-';

// Where the last separator of `path` is, -1 when it has none.
int32_t LastSeparator(const CRkString& path, const IRkCommandLineFiles& files)
{
    for (uint32_t i = path.GetLength(); i > 0; --i)
        if (files.IsSeparator(path.GetAt(i - 1)))
            return int32_t(i - 1);
    return -1;
}

CRkString Slice(const CRkString& text, uint32_t start, uint32_t end)
{
    CRkString out;
    text.Mid(out, start, end - start);
    return out;
}

} // namespace

bool CRkSystemCommandLineFiles::FindMatching(const CRkString& pattern, std::vector<CRkString>& out)
{
    return CFile::FindMatching(pattern, out);
}

bool CRkSystemCommandLineFiles::GetFullPath(const CRkString& path, CRkString& out)
{
    return CFile::GetFullPath(path, out);
}

bool CRkSystemCommandLineFiles::IsSeparator(char16_t unit) const
{
    if (unit == u'/')
        return true;
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    return unit == u'\\' && globals && globals->system && globals->system->IsWindows();
}

CRkCommandLine::CRkCommandLine(const CRkString& line)
{
    CRkSystemCommandLineFiles files;
    Split(line, files);
}

CRkCommandLine::CRkCommandLine(const CRkString& line, IRkCommandLineFiles& files)
{
    Split(line, files);
}

void CRkCommandLine::Split(const CRkString& line, IRkCommandLineFiles& files)
{
    // Names are collected apart and follow the options.
    std::vector<RkCommandLineEntry> names;
    const uint32_t n = line.GetLength();
    uint32_t pieceStart = 0;
    bool inPiece = false;
    auto endPiece = [&](uint32_t end) {
        if (inPiece && end > pieceStart)
            AddLookedUp(Slice(line, pieceStart, end), files, names);
        inPiece = false;
    };
    uint32_t i = 0;
    while (i < n) {
        const char16_t unit = line.GetAt(i);
        if (unit == kSpace) {
            endPiece(i);
            ++i;
        } else if (unit == kQuote) {
            endPiece(i);
            uint32_t close = i + 1;
            while (close < n && line.GetAt(close) != kQuote)
                ++close;
            if (close > i + 1) {
                RkCommandLineEntry entry;
                entry.text = Slice(line, i + 1, close);
                names.push_back(entry);
            }
            i = close < n ? close + 1 : n;
        } else if (unit == kHyphen && !inPiece && (i == 0 || line.GetAt(i - 1) == kSpace)) {
            uint32_t end = i + 1;
            while (end < n && line.GetAt(end) != kSpace)
                ++end;
            if (end > i + 1)
                AddOption(Slice(line, i + 1, end));
            i = end;
        } else {
            if (!inPiece) {
                inPiece = true;
                pieceStart = i;
            }
            ++i;
        }
    }
    endPiece(n);
    for (RkCommandLineEntry& entry : names)
        m_entries.push_back(entry);
}

void CRkCommandLine::AddOption(const CRkString& text)
{
    RkCommandLineEntry entry;
    entry.isOption = true;
    entry.text = text;
    entry.isBatch = text.Compare(CRkString(u"batch"), false) == 0 ? 1 : 0;
    if (!entry.isBatch) {
        // Unknown options are pointed out; the batch option stays silent so
        // that an unattended run never waits for a click.
        CRkGlobalVars* globals = CRkGlobalVars::Get();
        if (globals && globals->system)
            globals->system->ShowMessageBox(text, CRkString(u"Found an option!"), kMessageBoxOK);
    }
    m_entries.push_back(entry);
}

// A piece that matches files gives the first of them in the folder of the
// piece's full path; one that matches nothing gives its own full path, and
// one without a full path is kept as typed.
void CRkCommandLine::AddLookedUp(const CRkString& piece, IRkCommandLineFiles& files,
                                 std::vector<RkCommandLineEntry>& names)
{
    RkCommandLineEntry entry;
    CRkString full;
    std::vector<CRkString> matches;
    if (!files.GetFullPath(piece, full)) {
        entry.text = piece;
    } else if (files.FindMatching(piece, matches) && !matches.empty()) {
        const CRkString& match = matches.front();
        int32_t nameStart = LastSeparator(match, files) + 1;
        int32_t folderEnd = LastSeparator(full, files) + 1;
        entry.text = Slice(full, 0, uint32_t(folderEnd));
        entry.text.Append(Slice(match, uint32_t(nameStart), match.GetLength()));
    } else {
        entry.text = full;
    }
    names.push_back(entry);
}
