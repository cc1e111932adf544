#include "MirageSupport.h"

#include <string>

#include "Host.h"
#include "lumora/DisplayDevice.h"

namespace lumora::test {

namespace {

std::string ProfileSubkey()
{
    char where[512] = {};
    DescribeSettingsLocation(where, sizeof where);
    const std::string path = where;
    const std::string root = "HKEY_CURRENT_USER\\";
    return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
}

BOOL CALLBACK FindMirage(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "MIRAGE") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

void Store(const StoredSettings& settings)
{
    HKEY key = DisplayDevice::GetSettingsKey();
    for (const StoredSetting& s : settings) {
        if (const int* number = std::get_if<int>(&s.value))
            DisplayDevice::SetSettingInt(key, s.name, *number);
        else
            DisplayDevice::SetSettingString(key, s.name, std::get<std::string>(s.value).c_str());
    }
    DisplayDevice::CloseSettingsKey(key);
}

void ClearSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, ProfileSubkey().c_str()); }

bool StoredInt(const char* name, int& value)
{
    HKEY key = DisplayDevice::GetSettingsKey();
    const bool found = DisplayDevice::GetSettingInt(key, name, value) != 0;
    DisplayDevice::CloseSettingsKey(key);
    return found;
}

std::string StoredString(const char* name)
{
    char text[256] = {};
    HKEY key = DisplayDevice::GetSettingsKey();
    DisplayDevice::GetSettingString(key, name, text, sizeof text);
    DisplayDevice::CloseSettingsKey(key);
    return text;
}

void Pump(int ms) { WaitMs(ms); }

HWND FindDisplayWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMirage, reinterpret_cast<LPARAM>(&found));
    return found;
}

Cell MeasureCell(const char* face, int points, bool bold, bool italic)
{
    HDC dc = GetDC(nullptr);
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = bold ? FW_BOLD : 0;
    font.lfItalic = italic ? 1 : 0;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, handle);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(handle);
    ReleaseDC(nullptr, dc);
    return {metrics.tmAveCharWidth, metrics.tmHeight + metrics.tmExternalLeading,
            (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0};
}

Picture Picture::Of(HWND window)
{
    Picture picture;
    RECT client;
    if (window == nullptr || !GetClientRect(window, &client)) return picture;
    picture.width = client.right;
    picture.height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, picture.width, picture.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits);
    picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int i = 0; i < picture.width * picture.height; ++i)  // 0x00RRGGBB to 0x00BBGGRR
        picture.pixels.push_back(RGB((pixel[i] >> 16) & 0xFF, (pixel[i] >> 8) & 0xFF, pixel[i] & 0xFF));
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return picture;
}

int Picture::Count(COLORREF color, const RECT& r) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom && y < height; ++y)
        for (int x = r.left; x < r.right && x < width; ++x) n += At(x, y) == color;
    return n;
}

int Picture::CountOutside(COLORREF color, const RECT& r) const
{
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            n += !inside && At(x, y) == color;
        }
    return n;
}

OwnerWindow::OwnerWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MirageTestOwner";
    RegisterClassA(&windowClass);  // fails harmlessly the second time
    handle = CreateWindowExA(0, "MirageTestOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow()
{
    if (IsWindow(handle)) DestroyWindow(handle);
}

}  // namespace lumora::test
