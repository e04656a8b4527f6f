// What the text of one sidebar or footnote may hold: the codes it must not
// use, and the images it names.
#include <algorithm>
#include <string>
#include <string_view>

#include "book/ImageProbe.h"
#include "book/ImageRecList.h"
#include "framework/core/MessageGate.h"
#include "markup/ControlCodes.h"
#include "markup/NoteRecords.h"

namespace {

// Bytes of the text shown when an image name is not closed.
constexpr uint32_t kUnclosedContext = 40;

} // namespace

void CheckNoteTags(const uint8_t* text, uint32_t length, const char* name, uint32_t textPlace)
{
    for (uint32_t i = 0; i + 1 < length; ++i) {
        if (text[i] != '\\')
            continue;
        const ControlCode* code = FindControlCode(text, length, i);
        if (code && code->letter == 'S' && i + 2 == length) {
            // cut off after its first letter: which code it was is unknown
            ReportMessage(kReportWarning, MessageRule::NotInBatch, ReportPlace::At(textPlace + i),
                          "Illegal tag \"\\S\" in sidebar or footnote \"%s\"", name);
        } else if (code && !(code->places & kInNote)) {
            // \Sd is named by its second letter
            const uint8_t letter = code->id == CodeId::Sidebar ? code->second : code->letter;
            ReportMessage(kReportWarning, MessageRule::NotInBatch, ReportPlace::At(textPlace + i),
                          "Illegal tag \"\\%c\" in sidebar or footnote \"%s\"", letter, name);
        }
        // Step over the code letter, so the second backslash of "\\" is
        // never taken for the start of a code.
        ++i;
    }
}

bool CollectNoteImages(const uint8_t* text, uint32_t length, const char* noteName, ImageRecList& images,
                       const CRkString& imageDirectory, bool& failed, uint32_t textPlace)
{
    bool named = false;
    for (uint32_t i = 0; i + 1 < length; ++i) {
        if (text[i] != '\\')
            continue;
        // \m="name", and its forms \My="name" and \Mz="name".
        const ControlCode* code = FindControlCode(text, length, i);
        const uint32_t argument = code && code->names == CodeNames::Image ? i + code->length : 0;
        if (argument == 0) {
            ++i; // the code letter, so "\\" is never taken for a code
            continue;
        }
        const ReportPlace place = ReportPlace::At(textPlace + i);
        if (argument + 1 >= length || text[argument] != '=' || text[argument + 1] != '"') {
            ReportMessage(kReportWarning, MessageRule::NotInBatch, place,
                          "Image syntax incorrect.  It should be \\m=\"");
            i = argument - 1;
            continue;
        }
        const uint32_t nameStart = argument + 2;
        const uint8_t* close = std::find(text + nameStart, text + length, '"');
        if (close == text + length) {
            const uint32_t shown = std::min(length - i, kUnclosedContext);
            ReportMessage(kReportError, MessageRule::Always, place,
                          "Image name not closed in sidebar or footnote \"%s\": \"%s\"", noteName,
                          std::string(reinterpret_cast<const char*>(text + i), shown).c_str());
            failed = true;
            break;
        }
        const std::string_view name(reinterpret_cast<const char*>(text + nameStart),
                                    static_cast<size_t>(close - (text + nameStart)));
        named = true;
        i = static_cast<uint32_t>(close - text);
        // A name too long for the record is refused, but its file is still
        // looked up, so that its other problems show in the same run.
        bool refused = false;
        if (name.size() > kMaxImageNameLength) {
            ReportMessage(kReportError, MessageRule::Always, place,
                          "Image name \"%s\" is longer than 31 characters! Please rename the image.",
                          std::string(name).c_str());
            refused = true;
        }
        uint16_t width = 0;
        uint16_t height = 0;
        if (ProbeImage(imageDirectory, name, width, height, MessagePass{}, place))
            refused = true;
        if (refused) {
            failed = true;
            continue;
        }
        images.Add(imageDirectory, name, width, height, place);
    }
    return named;
}
