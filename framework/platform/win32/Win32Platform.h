// What the rest of the program takes from the Win32 layer, without the
// Windows headers: the platform objects, the string resources and the
// version check of the program entry.
#pragma once

#include <cstdint>

class IRkApplicationImp;
class IRkMessageTarget;
class IRkSystemImp;

// `startup` is the program's instance handle (null: the process's own).
IRkApplicationImp* CreateWin32ApplicationImp(IRkMessageTarget* application, void* startup);
IRkSystemImp* CreateWin32SystemImp();

// The window message boxes are owned by: the UI layer installs the active
// framework window's (null puts back the thread's active window).
using Win32OwnerWindowFunction = void* (*)();
void SetWin32MessageBoxOwner(Win32OwnerWindowFunction owner);

// An RCDATA resource of the program by number: its bytes (valid while the
// program runs) and size, or null.
const uint8_t* FindWin32StringResource(uint32_t resourceId, uint32_t& size);

// Whether a Windows version can run the program: the NT family, or a
// version above 4.0 (Windows 98 and later).
bool IsSupportedWindowsVersion(uint32_t major, uint32_t minor, bool ntFamily);
// The version check of the program entry: on an older system it shows
// "Vellumix requires Windows 98 or later." and returns false.
bool CheckWindowsVersion();
