// Unicode escapes in chapter titles and index items: a backslash, an
// uppercase "U" and four uppercase hexadecimal digits, mapped to one
// device byte because those titles are stored as plain 8-bit strings.
#pragma once

#include <cstdint>

#include "markup/ControlCodes.h"

// How the caller wants errors handled, and what happened. The scanner logs
// context errors in its small-font pass only but fails the parse in every
// pass; errors without context are logged in every pass.
struct MarkupErrorState {
    bool logContextErrors = true; // log errors that show a piece of the source
    bool logErrors = true;        // log errors without such a context
    bool failed = false;          // set by every error, logged or not
};

// Reads the four digits that begin at text[digits] (the backslash is at
// digits - 2). At the first byte that is not a digit (or the end of the
// text) reports "Error in \U specification" and returns the value of the
// digits read so far.
uint16_t ParseUnicodeHex(const uint8_t* text, uint32_t length, uint32_t digits, MarkupErrorState& state);

// The device byte for a code point; 0 when the character is dropped. A code
// point without a mapping gives an error and a space.
uint8_t MapUnicodeToDevice(uint16_t codePoint, MarkupErrorState& state);

// Counts one Unicode escape met in a chapter or index title and warns about
// it while the count is at most 100; the 101st gives one closing warning.
// `backslash` is the escape's position in the text. The count belongs to
// one parse; `log` is false outside the small-font pass and in batch mode.
void WarnUnicodeInTitle(const uint8_t* text, uint32_t length, uint32_t backslash, uint32_t& count, bool log);
