#include "framework/ui/RkLogManager.h"

#include <string>

#include "framework/application/RkApplication.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "framework/core/StringFormat.h"
#include "framework/ui/RkLogList.h"
#include "framework/ui/RkLogWindow.h"

namespace {

// The one log window of the process; reporting happens on the
// application's thread only.
CRkLogWindow* gLogWindow = nullptr;

CRkLogWindow* CreateLogWindow()
{
    const CRkString name(u"LogManager");
    CRkLogWindow* window = nullptr;
    if (CRkApplication* app = CRkApplication::Get()) {
        CRkString title(app->GetName());
        title.Append(u" Errors");
        window = new CRkLogWindow(&title, &name, 0);
    } else {
        window = new CRkLogWindow(nullptr, &name, 0);
    }
    if (!window->GetWindowImp()) {
        delete window;
        return nullptr;
    }
    return window;
}

// Formats the whole message, however long, and posts it.
int32_t PostFormatted(uint32_t level, const char* format, va_list args)
{
    CRkString text;
    std::string bytes;
    if (format && FormatStringV(bytes, format, args) && !bytes.empty())
        text.Assign(bytes.data(), uint32_t(bytes.size()), kEncodingDeviceLatin0);
    PostLogEntry(new CRkLogWindowEntry(level, &text), level != kReportStatus);
    return 0;
}

} // namespace

int32_t LogManagerErrorHook(const char* format, va_list args)
{
    return PostFormatted(kReportError, format, args);
}

int32_t LogManagerWarningHook(const char* format, va_list args)
{
    return PostFormatted(kReportWarning, format, args);
}

int32_t LogManagerStatusHook(const char* format, va_list args)
{
    return PostFormatted(kReportStatus, format, args);
}

void InstallLogManager()
{
    SetErrorHook(LogManagerErrorHook);
    SetWarningHook(LogManagerWarningHook);
    SetStatusHook(LogManagerStatusHook);
}

void PostLogEntry(CRkLogWindowEntry* entry, bool show)
{
    if (!entry)
        return;
    // A window on its way out (destroyed but not yet deleted) takes nothing.
    if (gLogWindow && gLogWindow->IsDestroying())
        gLogWindow = nullptr;
    if (!gLogWindow)
        gLogWindow = CreateLogWindow();
    if (!gLogWindow) {
        delete entry;
        return;
    }
    if (show && !gLogWindow->IsVisible())
        gLogWindow->SetVisible(true);
    if (gLogWindow->IsVisible())
        gLogWindow->BringToFront(false);
    gLogWindow->GetList().AddEntry(entry);
}

void ClearLog()
{
    if (gLogWindow)
        gLogWindow->GetList().Clear();
}

void CloseLog()
{
    if (!gLogWindow)
        return;
    CRkLogWindow* window = gLogWindow;
    window->Close();
    gLogWindow = nullptr;
}

CRkLogWindow* GetLogWindow()
{
    return gLogWindow;
}

void ForgetLogWindow(const CRkLogWindow* window)
{
    if (window && window == gLogWindow)
        gLogWindow = nullptr;
}
