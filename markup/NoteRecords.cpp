#include "markup/NoteRecords.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "book/SidebarSet.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"

namespace {

constexpr std::string_view kSidebarStart = "<sidebar id=\"";
constexpr std::string_view kFootnoteStart = "<footnote id=\"";

std::string_view View(const CMemBuffer& buffer)
{
    return {reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize()};
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// First occurrence of `needle` in `text`, ASCII letters compared without
// regard to case; npos when there is none.
size_t FindFolded(std::string_view text, std::string_view needle)
{
    const auto it = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                                [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
    return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

bool ResolveSet(std::string_view notes, SidebarSet& set, std::string_view startTag, const char* missingFormat)
{
    bool missing = false;
    for (uint32_t i = 0; i < set.GetCount(); ++i) {
        std::string tag(startTag);
        tag += set.GetName(i);
        tag += "\">";
        size_t found = notes.empty() ? std::string_view::npos : FindFolded(notes, tag);
        if (found == std::string_view::npos) {
            ReportError(missingFormat, set.GetName(i).c_str());
            missing = true;
            continue;
        }
        size_t position = found + tag.size();
        while (position < notes.size() && notes[position] == '\n')
            ++position;
        set.SetPosition(i, static_cast<uint32_t>(position));
    }
    return missing;
}

} // namespace

void SplitOffNotes(CMemBuffer& prepared, CMemBuffer& notes)
{
    notes.SetSize(0);
    const std::string_view text = View(prepared);
    const size_t start = std::min(text.find(kSidebarStart), text.find(kFootnoteStart));
    if (start == std::string_view::npos)
        return;
    size_t cut = start;
    while (cut > 0 && text[cut - 1] == '\n')
        --cut;
    notes.Append(text.data() + cut, static_cast<uint32_t>(text.size() - cut));
    prepared.SetSize(static_cast<uint32_t>(cut));
}

bool ResolveNotes(const CMemBuffer& notes, SidebarSet& sidebars, FootnoteSet& footnotes)
{
    // Each name once, in name order, however often it was referred to.
    sidebars.SortAndRemoveDuplicates();
    footnotes.SortAndRemoveDuplicates();
    const std::string_view text = View(notes);
    const bool sidebarMissing = ResolveSet(text, sidebars, kSidebarStart, "No sidebar named \"%s\" was found.");
    const bool footnoteMissing =
        ResolveSet(text, footnotes, kFootnoteStart, "No footnote named \"%s\" was found.");
    return sidebarMissing || footnoteMissing;
}
