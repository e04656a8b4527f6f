#include "framework/platform/win32/Win32Keys.h"

#include "framework/core/RkMessageNumbers.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/ui/RkComponentImp.h"

uint16_t FrameworkKeyCode(uint32_t virtualKey)
{
    switch (virtualKey) {
    case VK_RETURN:
        return kKeyEnter;
    case VK_BACK:
        return kKeyBackspace;
    case VK_TAB:
        return kKeyTab;
    case VK_UP:
        return kKeyUp;
    case VK_DOWN:
        return kKeyDown;
    case VK_LEFT:
        return kKeyLeft;
    case VK_RIGHT:
        return kKeyRight;
    case VK_HOME:
        return kKeyHome;
    case VK_END:
        return kKeyEnd;
    case VK_PRIOR:
        return kKeyPageUp;
    case VK_NEXT:
        return kKeyPageDown;
    case VK_ESCAPE:
        return kKeyEscape;
    case VK_DELETE:
        return kKeyDelete;
    case VK_SPACE:
        return u' ';
    default:
        break;
    }
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return uint16_t(virtualKey);
    // Punctuation: the character the key gives without Shift on this
    // keyboard layout (the top bit marks a dead key).
    const UINT character = ::MapVirtualKeyW(virtualKey, 2 /* MAPVK_VK_TO_CHAR */) & 0x7FFFFFFFu;
    if (character > 32 && character < 127) {
        if (character >= 'a' && character <= 'z')
            return uint16_t(character - 'a' + 'A');
        return uint16_t(character);
    }
    return 0;
}

uint8_t CurrentKeyModifiers()
{
    uint8_t modifiers = 0;
    if (::GetKeyState(VK_CONTROL) < 0)
        modifiers |= kKeyModifierCtrl;
    if (::GetKeyState(VK_SHIFT) < 0)
        modifiers |= kKeyModifierShift;
    if (::GetKeyState(VK_MENU) < 0)
        modifiers |= kKeyModifierAlt;
    return modifiers;
}
