#include "framework/platform/win32/selftest/WinSelfTestObserve.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/platform/win32/selftest/WinSelfTestWindows.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkComponent.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

CRkComponent* ComponentOf(HWND window)
{
    IRkComponentHost* host = FindWinComponentHost(window);
    return host ? dynamic_cast<CRkComponent*>(&host->GetMessageTarget()) : nullptr;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    return text.data();
}

// The text quoted for a line of the dump (\" and \\ escaped, line breaks as \n).
std::string Quoted(const std::wstring& text)
{
    std::string out = "\"";
    for (char c : SelfTestNarrow(text)) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\r')
            continue;
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// The size the control's text needs in the control's own font: one line for
// buttons and check boxes (with the box), the wrapped text for a label at
// its width, one line's height for a text field (with its border).
SIZE TextNeeds(HWND control, const std::wstring& cls, DWORD style, const std::wstring& text)
{
    SIZE need = {0, 0};
    HDC dc = GetDC(control);
    if (!dc)
        return need;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    RECT client = {};
    GetClientRect(control, &client);
    if (cls == L"Button") {
        if (!text.empty())
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &need);
        const DWORD type = style & BS_TYPEMASK;
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
            need.cx += GetSystemMetrics(SM_CXMENUCHECK);
    } else if (cls == L"Static") {
        if (!text.empty()) {
            const bool wraps = (style & SS_TYPEMASK) == SS_LEFT || (style & SS_TYPEMASK) == SS_CENTER ||
                               (style & SS_TYPEMASK) == SS_RIGHT;
            RECT r = {0, 0, wraps ? client.right : 0, 0};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                      DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
            need = {r.right - r.left, r.bottom - r.top};
        }
    } else if (cls == L"Edit") {
        RECT outer = {};
        GetWindowRect(control, &outer);
        const int frame = (outer.bottom - outer.top) - client.bottom;
        need.cy = metrics.tmHeight + frame;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return need;
}

void WriteControl(FILE* file, HWND top, HWND control)
{
    const std::wstring cls = ClassOf(control);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    const std::wstring text = TextOf(control);
    RECT r = {};
    GetWindowRect(control, &r);
    POINT inParent = {r.left, r.top}, inTop = {r.left, r.top};
    HWND parent = GetParent(control);
    ScreenToClient(parent ? parent : top, &inParent);
    ScreenToClient(top, &inTop);
    const SIZE need = TextNeeds(control, cls, style, text);
    std::fprintf(
        file, "control id=%d class=%s x=%ld y=%ld w=%ld h=%ld tx=%ld ty=%ld needw=%ld needh=%ld visible=%d enabled=%d",
        GetDlgCtrlID(control), SelfTestNarrow(cls).c_str(), inParent.x, inParent.y, r.right - r.left, r.bottom - r.top,
        inTop.x, inTop.y, need.cx, need.cy, IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0);
    if (CRkComponent* component = ComponentOf(control)) {
        const RkRect bounds = component->GetBounds();
        const RkSize preferred = component->GetPreferredSize();
        std::fprintf(file, " kind=%u fx=%d fy=%d fw=%d fh=%d pw=%d ph=%d", component->GetKind(), bounds.x, bounds.y,
                     bounds.width, bounds.height, preferred.width, preferred.height);
    }
    std::fprintf(file, " text=%s\n", Quoted(text).c_str());
}

// Rows of the picture from a top-down 32-bit DIB, written as 8-bit RGB.
bool WritePng(FILE* file, const uint8_t* bgrx, int width, int height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = bgrx + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = in[x * 4 + 2];
            row[x * 3 + 1] = in[x * 4 + 1];
            row[x * 3 + 2] = in[x * 4];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WriteSelfTestBounds(HWND window, const std::wstring& path, std::wstring& error)
{
    FilePtr file(_wfopen(path.c_str(), L"wb"));
    if (!file) {
        error = L"cannot write " + path;
        return false;
    }
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    RECT outer = {};
    GetWindowRect(window, &outer);
    std::fprintf(file.get(),
                 "window title=%s clientw=%ld clienth=%ld screenx=%ld screeny=%ld outerx=%ld outery=%ld outerw=%ld "
                 "outerh=%ld screenw=%d screenh=%d",
                 Quoted(TextOf(window)).c_str(), client.right, client.bottom, origin.x, origin.y, outer.left, outer.top,
                 outer.right - outer.left, outer.bottom - outer.top, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN));
    if (CRkComponent* component = ComponentOf(window))
        std::fprintf(file.get(), " s2=%d s3=%d s5=%d s8=%d", component->ConvertDistance(2),
                     component->ConvertDistance(3), component->ConvertDistance(5), component->ConvertDistance(8));
    std::fprintf(file.get(), "\n");
    const std::vector<HWND> controls = SelfTestDescendants(window);
    for (HWND control : controls)
        WriteControl(file.get(), window, control);
    if (std::fflush(file.get()) != 0) {
        error = L"cannot write " + path;
        return false;
    }
    return true;
}

bool WriteSelfTestScreenshot(HWND window, const std::wstring& path, std::wstring& error)
{
    RECT r = {};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        error = L"the window has no size";
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Painted now, then copied from the window's own surface: what the
    // window shows, whatever lies over it on the screen.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    void* bits = nullptr;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    bool written = false;
    if (copied) {
        FilePtr file(_wfopen(path.c_str(), L"wb"));
        written = file && WritePng(file.get(), static_cast<const uint8_t*>(bits), width, height);
        if (file && std::fflush(file.get()) != 0)
            written = false;
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(window, source);
    if (!written)
        error = copied ? L"cannot write " + path : L"the window could not be copied";
    return written;
}
