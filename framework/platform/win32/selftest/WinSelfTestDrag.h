// Files dropped the two ways Windows drops them: a drop handle (what
// WM_DROPFILES carries) and an OLE drag of a data object carrying CF_HDROP.
#pragma once

#include <string>
#include <vector>

#include "framework/platform/win32/Win32Api.h"

// An HDROP with the paths (wide), the drop point set to `point`; null when
// out of memory. Whoever takes it frees it.
HGLOBAL MakeSelfTestDropHandle(const std::vector<std::wstring>& paths, POINT point);
// Drags the files from over the control's centre and lets go there
// (DoDragDrop with a data object of CF_HDROP): the control's window gets
// them through its registered drop target, or refuses them. Runs on the UI
// thread; false (with `seen`) when the drag could not be made.
bool OleDragSelfTestFiles(HWND control, const std::vector<std::wstring>& paths, std::wstring& seen);
