// How much of the source each scanner message shows: `before` bytes before
// the place the message names, `width` bytes in all (cut at the ends of
// the text, never more than 255). Each window is what the message has
// always shown; the reason says what it is meant to show.
#pragma once

#include <cstdint>

struct ContextWindow {
    uint32_t before;
    uint32_t width;
};

// From the byte after the backslash: the code's letter and enough of what
// follows it to find the place in a long line.
inline constexpr ContextWindow kIllegalCodeContext{0, 40};
// From the byte after the backslash: "S" and the letter that follows it.
inline constexpr ContextWindow kStyleCodeContext{0, 2};
// From the backslash of \I: the code and the start of the item.
inline constexpr ContextWindow kNoStylesContext{0, 20};
// From the backslash of \c or \r: the code and the text it aligns.
inline constexpr ContextWindow kAlignmentContext{0, 30};
// Around \k: the superscript or subscript before it and the text after it.
inline constexpr ContextWindow kSmallCapsContext{10, 60};
// From the "C" or "X": the letter, the level digit and "=\"" (or what
// stands there instead).
inline constexpr ContextWindow kChapterSyntaxContext{0, 5};
// Around a line end inside an argument: the words on either side of it.
inline constexpr ContextWindow kChapterReturnContext{10, 20};
inline constexpr ContextWindow kArgumentReturnContext{9, 20};
// From the first byte of a quoted chapter title: the title's start.
inline constexpr ContextWindow kSpannedTitleContext{0, 40};
// From the digit after a closing \X: the digit and the text after it.
inline constexpr ContextWindow kClosingLevelContext{0, 10};
// Around the "=" of a code: the code before it and the argument after it.
inline constexpr ContextWindow kArgumentSyntaxContext{10, 20};
// From 5 bytes before a link name: the code, "=\"#" and the name's start.
inline constexpr ContextWindow kLongLinkContext{5, 40};
// From the backslash of \w or \T (or the byte before a misplaced "%"):
// the code and its short argument.
inline constexpr ContextWindow kPercentSyntaxContext{0, 7};
// From the backslash: the code and the start of the argument that the end
// of the text cut off.
inline constexpr ContextWindow kUnterminatedContext{0, 40};
// From a doubtful byte of an index item: the byte and the item after it.
inline constexpr ContextWindow kIndexByteContext{0, 40};
// From the backslash of \U: the six bytes of the escape.
inline constexpr ContextWindow kUnicodeEscapeContext{0, 6};
// From two bytes before a \U in a title: the escape with the title around
// it.
inline constexpr ContextWindow kUnicodeTitleContext{2, 20};
// The first bytes of a title or index item that was cut at 80 bytes.
inline constexpr uint32_t kCutTitleShown = 40;
// Longest context any message shows.
inline constexpr uint32_t kMaxContext = 255;
