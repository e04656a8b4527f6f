// Unicode escapes in chapter titles and index items: a backslash, an
// uppercase "U" and four uppercase hexadecimal digits, mapped to one
// device byte because those titles are stored as plain 8-bit strings.
#pragma once

#include <cstdint>

#include "framework/core/MessageGate.h"
#include "markup/ControlCodes.h"

// The pass the errors come from, and what happened. Errors that show a
// piece of the source are logged in the small-font pass only, the others
// in every pass (the gate decides); each fails the parse, logged or not.
struct MarkupErrorState {
    MessagePass pass;
    // Where MapUnicodeToDevice's error points: the escape's backslash.
    uint32_t place = 0;
    bool failed = false;
};

// Reads the four digits that begin at text[digits] (the backslash is at
// digits - 2). At the first byte that is not a digit (or the end of the
// text) reports "Error in \U specification" and returns the value of the
// digits read so far.
uint16_t ParseUnicodeHex(const uint8_t* text, uint32_t length, uint32_t digits, MarkupErrorState& state);

// The device byte for a code point; 0 when the character is dropped. A code
// point without a mapping gives an error and a space.
uint8_t MapUnicodeToDevice(uint16_t codePoint, MarkupErrorState& state);

// Counts one Unicode escape met in a chapter or index title (not again when
// the text is scanned again) and warns about it while the count is at most
// 100; the 101st gives one closing warning. `backslash` is the escape's
// position in the text. The count belongs to one parse; the warnings are
// the small-font pass's and silenced in batch mode.
void WarnUnicodeInTitle(const uint8_t* text, uint32_t length, uint32_t backslash, uint32_t& count,
                        const MessagePass& pass);
