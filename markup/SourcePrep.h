// Preparing an LML source for the book: the three passes that turn the
// bytes of the file into the prepared text that every later step uses.
#pragma once

#include <cstdint>

class CMemBuffer;

// Runs MapDeviceCharacters, ExpandTabs and ResolveByteEscapes in that order.
void PrepareSourceText(CMemBuffer& source);

// Pass 1: removes the control bytes 0x00-0x08, turns CR LF and a lone CR
// into one LF, and checks bytes 0x80 and above against the device set.
void MapDeviceCharacters(CMemBuffer& source);

// Pass 2: every tab becomes four spaces.
void ExpandTabs(CMemBuffer& source);

// Pass 3: resolves the byte escapes (backslash, "a", three digits).
void ResolveByteEscapes(CMemBuffer& source);

// True when the byte (0x80 or above) is a character of the device set.
bool IsDeviceCharacter(uint8_t byte);
