// Windows key codes in the framework's terms: the virtual key of a key
// message becomes the framework key code (printable keys as their unshifted
// character, letters in upper case), and the modifier keys held now become
// the framework's modifier bits.
#pragma once

#include <cstdint>

// The framework key code of a virtual key; 0 for a key the framework has
// no code for (Shift, Ctrl, function keys).
uint16_t FrameworkKeyCode(uint32_t virtualKey);
// Ctrl, Shift and Alt as they are held for the message being handled.
uint8_t CurrentKeyModifiers();
