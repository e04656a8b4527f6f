// The Windows headers for the Win32 layer, with the macros that would
// rename the framework's own members (GetCurrentTime, CreateDirectory,
// PostMessage, CreateWindow) taken away; the layer calls the wide functions by name.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef GetCurrentTime
#undef CreateDirectory
#undef PostMessage
#undef CopyFile
#undef MoveFile
#undef DeleteFile
#undef CreateWindow
