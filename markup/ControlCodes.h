// The control codes of the markup: one table that says, for every code, how
// long it is, what argument it takes, what it names, where it may stand and
// whether it switches the style; and the scan function that says what
// stands at a position of the text without touching any layout state. The
// scanner of the layout, the title and index collectors, the checks of
// notes and links, and the `pages` text of the tool all read codes through
// it. A new code is one row here plus its case in the scanner.
#pragma once

#include <cstdint>

// Every row of the table, in table order.
enum class CodeId : uint8_t {
    PageBreak,     // \p
    Chapter,       // \x ... \x
    Heading,       // \Xn ... \Xn
    ChapterTag,    // \Cn="title"
    IndexItem,     // \I ... \I
    Image,         // \m="name"
    ImageY,        // \My="name"
    ImageZ,        // \Mz="name"
    ImageOther,    // \M and any other byte: illegal
    Link,          // \q="#name" ... \q
    Anchor,        // \Q="name"
    Rule,          // \w="nn%"
    Indent,        // \T="nn%"
    Center,        // \c
    Right,         // \r
    Italic,        // \i
    Underline,     // \u
    Overstrike,    // \o
    Invisible,     // \v
    SmallCaps,     // \k
    IndentedText,  // \t
    BoldStyle,     // \B
    BoldFont,      // \b
    LargeFont,     // \l
    StandardFont,  // \s
    NormalFont,    // \n
    Superscript,   // \Sp
    Subscript,     // \Sb
    Sidebar,       // \Sd="name" ... \Sd
    StyleOther,    // \S and any other byte: illegal
    Footnote,      // \Fn="name" ... \Fn
    FootnoteOther, // \F and any other byte: skipped without a message
    Backslash,     // \\ (a literal backslash)
    ByteEscape,    // \annn
    Unicode,       // \Uxxxx
    Divider,       // \d
    SoftHyphen,    // \-
    Count
};

// The form of what follows a code's letters.
enum class CodeArgument : uint8_t {
    None,
    LevelDigit,     // one digit 0 to 4 (\Xn)
    LevelAndQuoted, // one digit, then ="..." (\Cn="title")
    ByteDigits,     // three decimal digits, not checked (\annn)
    HexDigits,      // four uppercase hexadecimal digits (\Uxxxx)
    Quoted,         // ="..."
    Percent,        // ="nn%"
};

// What the argument names, for the lists that collect names.
enum class CodeNames : uint8_t { Nothing, Image, Sidebar, Footnote, LinkTarget, Anchor };

// Where a code may stand, besides the running text (bit flags).
enum : uint8_t {
    kInChapterTag = 1, // in the quoted title of \Cn="..."; any other code is an error there
    kInLinkText = 2,   // in the shown text of a link, up to its first code
    kInNote = 4,       // in the text of a sidebar or footnote
};

struct ControlCode {
    CodeId id;
    uint8_t letter; // the byte after the backslash
    uint8_t second; // the byte after that, or 0 when one letter names the code
    uint8_t length; // the code's own bytes, backslash included, argument excluded
    CodeArgument argument;
    CodeNames names;
    uint8_t places;    // kInChapterTag, kInLinkText, kInNote
    bool changesStyle; // switches the style word, the font or the alignment
    bool known;        // false for the rows that stand for an illegal code
};

// The row of a code, by id.
const ControlCode& ControlCodeRow(CodeId id);

// The row of the code whose backslash is at `backslash` (which must be a
// backslash followed by at least one byte); null for a byte after the
// backslash that begins no code. The two-letter families (\M, \S, \F) give
// their "other" row when the second letter names none of them, also when
// the text ends after the first letter.
const ControlCode* FindControlCode(const uint8_t* text, uint32_t length, uint32_t backslash);

// Lengths of the codes whose arguments have a fixed size.
inline constexpr uint32_t kByteEscapeLength = 5;    // \annn
inline constexpr uint32_t kUnicodeEscapeLength = 6; // \Uxxxx

// What stands at one position of the text.
struct ScanItem {
    enum Kind : uint8_t {
        PlainText,     // bytes up to the next backslash (or the end)
        Code,          // a control code of the table
        UnknownCode,   // a backslash and a byte that begins no code
        BareBackslash, // a backslash as the last byte
    };
    Kind kind = PlainText;
    const ControlCode* code = nullptr; // for Code
    uint32_t start = 0;
    // For a code: the position after its letters (where its argument
    // begins); for plain text and the others: `end`.
    uint32_t letters = 0;
    // The argument's bytes: the digits, or what stands between the quotes;
    // empty (argBegin == argEnd == letters) when the code has none or its
    // ="..." is missing.
    uint32_t argBegin = 0;
    uint32_t argEnd = 0;
    // The position after the whole item: after the closing quote (or the
    // byte after "%"), or after the letters when the quoted argument is
    // missing; never past the end of the text.
    uint32_t end = 0;
    bool hasArgument = false; // the digits, or the ="..." (for \Cn: its ="...") are there
    bool cut = false;         // the end of the text came first
};

// Reads what stands at `pos` (< length). A quoted argument runs to the next
// double quote; a percent argument to the first "%" or double quote, and
// past the byte after the "%". Nothing is reported and no state is kept.
ScanItem ScanAt(const uint8_t* text, uint32_t length, uint32_t pos);

// Where a title or index collector goes on after the code of `item`: codes
// with a quoted argument go with it, the others lose only their letters
// (so the level digit of \Xn and \Cn stays as text); \annn and \Uxxxx go
// whole. A percent argument is skipped to its closing quote, "%" or not.
// An illegal code (unknown, or an "other" row) loses only its backslash and
// first letter.
uint32_t SkipInTitle(const uint8_t* text, uint32_t length, const ScanItem& item);

// The byte that a \annn code names: the three bytes after the "a" read as
// decimal digits (unchecked), modulo 256; missing bytes count as 0.
uint8_t ByteEscapeValue(const uint8_t* text, uint32_t length, uint32_t backslash);

// A line feed or a carriage return.
inline bool IsLineEnd(uint8_t byte)
{
    return byte == '\n' || byte == '\r';
}
