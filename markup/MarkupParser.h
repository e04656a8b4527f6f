// The markup scanner and the page layout that runs it: one object per parse
// of a book, holding the parse-wide state, the state of the current pass and
// line (plain structs, each reset in one place) and the lists it fills. What
// stands at a position of the text comes from the scan function of
// ControlCodes.h; the scanner acts on it, one file per family of control
// codes (ScanStep.cpp, ChapterTags.cpp, IndexItem.cpp, ReferenceTags.cpp,
// RuleIndent.cpp, ImageTag.cpp), the layout in Layout.cpp, the passes in
// Paginate.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "book/ImageProbe.h"

#include "framework/core/Compiler.h"
#include "framework/core/MessageGate.h"
#include "markup/ContextWindows.h"
#include "markup/ControlCodes.h"

class CMemBuffer;
class CRkString;
class PageRecList;
class ChapterRecList;
class ImageRecList;
class LinkRecList;
class SidebarSet;
class FootnoteSet;
class IndexRecList;
struct PercentMessages;

// The record lists one parse fills.
struct ParseLists {
    PageRecList& smallPages;
    PageRecList& largePages;
    ChapterRecList& chapters;
    ImageRecList& images;
    LinkRecList& links;
    SidebarSet& sidebars;
    FootnoteSet& footnotes;
    IndexRecList& index;
};

// Style word bits, switched by the codes named.
enum : uint16_t {
    kStyleItalic = 0x8000,      // \i
    kStyleUnderline = 0x4000,   // \u
    kStyleIndented = 0x2000,    // \t
    kStyleOverstrike = 0x1000,  // \o
    kStyleInvisible = 0x0800,   // \v
    kStyleReference = 0x0400,   // \q, \Fn, \Sd
    kStyleSuperscript = 0x0200, // \Sp
    kStyleSubscript = 0x0100,   // \Sb
    kStyleBold = 0x0080,        // \B
    kStyleSmallCaps = 0x0040,   // \k
};

enum : uint32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

// Page geometry of the device, in pixels.
inline constexpr uint32_t kLineWidth = 158;
inline constexpr uint32_t kPageHeight = 148;
inline constexpr uint32_t kLineHeight = 11; // a new line's height before anything is measured
inline constexpr uint32_t kIndentWidth = 8;
// The byte of the hyphen the device shows at a soft break (\-).
inline constexpr uint8_t kSoftHyphen = 0xAD;

// The state to go back to at a line start or at the last possible break.
struct LayoutSnapshot {
    uint32_t position = 0;
    uint32_t x = 0;
    uint32_t lineHeight = kLineHeight;
    uint16_t font = 0;
    uint16_t style = 0;
    uint32_t alignment = kAlignLeft;
    bool chapterOpen = false;
    bool indexOpen = false;
    bool softHyphen = false;
    // Chapters recorded in this pass when the snapshot was taken: those
    // recorded since are scanned again after a return to it.
    uint32_t chapterCount = 0;
};

// State that lives for a whole parse, over both passes: cleared once in
// Run.
struct ParseWideState {
    bool failed = false; // the parse's result: set by every error
    bool lowerBSeen = false;
    bool upperBSeen = false;
    uint32_t unicodeWarnings = 0;
    uint32_t illegalIndexCodes = 0;
};

// The scanner and layout state of one pass: reset as a whole when the pass
// begins (RunPass).
struct PassState {
    bool smallFont = true;
    uint16_t normalFont = 0;
    uint32_t pos = 0;
    uint16_t style = 0;
    uint16_t font = 0;
    uint32_t alignment = kAlignLeft;
    bool chapterOpen = false;
    bool indexOpen = false;
    uint32_t chapterCount = 0;
    // Furthest position scanned in this pass; a step that starts below it
    // is a rescan and logs nothing.
    uint32_t furthest = 0;
    bool silent = false;
    // Set when an argument scan ran into the end of the text.
    bool argumentCut = false;

    PageRecList* pages = nullptr;
    const uint8_t* widths = nullptr;
    uint32_t minLineHeight = kLineHeight;
    uint32_t y = 0;
    uint32_t pageNumber = 0;
    bool topOfPage = true;
    bool lineBeganAtTop = true;
    bool placedLastLine = false;
    LayoutSnapshot lineStart;
    LayoutSnapshot lastBreak;

    // What the current step asks of the work at its end (EndOfStep).
    bool lineEndRequested = false;
    bool pageBreakRequested = false;
    bool chapterThisStep = false;
    uint32_t pendingSkip = 0;
    uint32_t stepStart = 0;
    bool stepCanMoveBack = false;
};

// The line being filled: begun anew at every line end (EndOfStep), and
// taken back from a snapshot when the layout returns to one.
struct LineState {
    uint32_t x = 0;
    uint32_t lineHeight = kLineHeight;
    bool spaceRunOpen = false;
    uint32_t spaceRunX = 0;      // x before the open run of spaces
    bool afterBreakByte = false; // the last byte was a space, "-" or "_"
};

class MarkupParser {
public:
    // `text` must outlive the parser; it is read, never written (a repair at
    // the end of the text works on the parser's own copy).
    // `probe` finds the images (null: probed once per name by the parser).
    MarkupParser(const uint8_t* text, uint32_t length, const CRkString& imageDirectory,
                 const CMemBuffer& textRecordEnds, const ParseLists& lists, uint32_t options,
                 IImageProbe* probe = nullptr);
    MarkupParser(const MarkupParser&) = delete;
    MarkupParser& operator=(const MarkupParser&) = delete;

    // Runs the passes and finishes the lists; true when the parse failed.
    bool Run();

private:
    // --- passes and layout (Paginate.cpp, Layout.cpp)
    void RunPass(bool smallFont);
    void FinishLists();
    void SelectWidths();
    void MeasureByte(uint8_t byte)
    {
        m_line.x += m_pass.widths[byte];
        if (m_line.lineHeight < m_pass.minLineHeight)
            m_line.lineHeight = m_pass.minLineHeight;
    }
    void RaiseLineHeight(uint32_t height)
    {
        if (m_line.lineHeight < height)
            m_line.lineHeight = height;
    }
    uint32_t NextLineStart() const { return (m_pass.style & kStyleIndented) ? kIndentWidth : 0; }
    bool OnEmptyFirstLine() const { return m_pass.topOfPage && m_line.x == NextLineStart(); }
    uint32_t LineWidth() const { return m_line.spaceRunOpen ? m_line.spaceRunX : m_line.x; }
    void CloseSpaceRun() { m_line.spaceRunOpen = false; }
    void TakeSnapshot(LayoutSnapshot& snapshot, uint32_t position, bool softHyphen = false) const;
    void TakeLastBreak(uint32_t position, bool softHyphen = false)
    {
        TakeSnapshot(m_pass.lastBreak, position, softHyphen);
    }
    void ReturnTo(const LayoutSnapshot& snapshot);
    void DropChaptersAfter(const LayoutSnapshot& snapshot);
    void EndOfStep();
    void ScanTextRun();
    void AddPageEntry(uint32_t page, uint32_t position);

    // --- the scanner (ScanStep.cpp)
    void ScanStep();
    void ScanPlainByte(uint8_t byte);
    void NoteByteAfterBreak(uint8_t byte);
    void ScanControlCode();
    void RepairBareBackslash();
    void ToggleFont(uint16_t font);
    void SwitchAlignment(uint32_t alignment);
    void ScanIndexCode();
    void ScanHeadingCode(uint8_t kind);
    void ScanNoteCode(bool sidebar);
    void ScanUnicodeCode();
    void ScanByteEscape();

    // --- control codes with arguments
    uint32_t ParseChapterTag(uint32_t backslash);             // ChapterTags.cpp
    void ParseHeadingTitle(uint32_t backslash, uint8_t kind); // ChapterTags.cpp
    void AppendUnicodeEscape(std::string& title, uint32_t backslash);
    void ParseIndexItem(uint32_t backslash); // IndexItem.cpp
    void AppendIndexByte(std::string& item, uint8_t byte, uint32_t at);
    uint32_t ParseImageRef(uint32_t backslash, uint32_t equals);    // ImageTag.cpp
    uint32_t ParseSidebarRef(uint32_t backslash, uint32_t equals);  // ReferenceTags.cpp
    uint32_t ParseFootnoteRef(uint32_t backslash, uint32_t equals); // ReferenceTags.cpp
    uint32_t ParseNoteRef(uint32_t backslash, uint32_t equals, bool sidebar);
    uint32_t ParseLinkRef(uint32_t backslash, uint32_t equals);    // ReferenceTags.cpp
    uint32_t ParseLinkAnchor(uint32_t backslash, uint32_t equals); // ReferenceTags.cpp
    uint32_t ParseRule(uint32_t backslash, uint32_t equals);       // RuleIndent.cpp
    uint32_t ParseIndent(uint32_t backslash, uint32_t equals);     // RuleIndent.cpp
    uint32_t ParsePercentArgument(uint32_t backslash, uint32_t equals, const PercentMessages& messages, uint32_t& value,
                                  bool& complete);
    bool HasQuotedArgument(uint32_t equals) const;
    // Position of the next double quote from `from`, reporting each line end
    // before it with `returnsMessage`; the text length when there is none.
    uint32_t ScanToQuote(uint32_t from, const char* returnsMessage);
    // The scan of the argument of the code at `backslash` ran into the end.
    void ReportUnterminated(uint32_t backslash);

    // --- reporting (ContextReport.cpp). Whether a message is logged is the
    // gate's matter (MessageGate.h); each message names its rule and its
    // place, the offset of the code's backslash or of the byte it is about.
    MessagePass Pass() const { return {m_pass.smallFont, m_pass.silent}; }
    // An error that shows `window` of the text around `at`: logged in the
    // small-font pass unless `rule` says otherwise; fails the parse when in
    // force.
    void ReportParseError(uint32_t place, const char* format, int64_t at, ContextWindow window,
                          MessageRule rule = MessageRule::SmallFontPass);
    void ReportParseWarning(MessageRule rule, uint32_t place, const char* format, int64_t at, ContextWindow window);
    // Messages without a piece of the text; an error fails the parse.
    void LogError(uint32_t place, const char* format, ...) VX_PRINTF_FORMAT(3, 4);
    void LogWarning(MessageRule rule, uint32_t place, const char* format, ...) VX_PRINTF_FORMAT(4, 5);
    std::string Context(int64_t offset, uint32_t count) const;

    // The text: the caller's bytes, or m_ownText after a repair.
    const uint8_t* m_text;
    uint32_t m_length;
    uint32_t m_sourceLength;
    std::vector<uint8_t> m_ownText;

    const CRkString& m_imageDirectory;
    CImageProbeCache m_ownProbe;
    IImageProbe* m_probe;
    const CMemBuffer& m_recordEnds;
    ParseLists m_lists;
    uint32_t m_options;

    ParseWideState m_parse;
    PassState m_pass;
    LineState m_line;
};
