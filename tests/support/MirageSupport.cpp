#include "MirageSupport.h"

#include <cstring>
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

// A font as the display builds it from its settings (and italic, as the font
// dialog can choose).
HFONT MakeFont(HDC dc, const char* face, int points, bool bold, bool italic)
{
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = bold ? FW_BOLD : 0;
    font.lfItalic = italic ? 1 : 0;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// A 32-bit top-down DIB section of the picture's size, and its pixels read
// into the picture (0x00RRGGBB to COLORREF's 0x00BBGGRR).
HBITMAP MakeDib(HDC dc, const Picture& picture, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

void ReadPixels(Picture& picture, const void* bits)
{
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits);
    picture.pixels.clear();
    for (int i = 0; i < picture.width * picture.height; ++i)
        picture.pixels.push_back(RGB((pixel[i] >> 16) & 0xFF, (pixel[i] >> 8) & 0xFF, pixel[i] & 0xFF));
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
    HFONT handle = MakeFont(dc, face, points, bold, italic);
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
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP dib = MakeDib(memory, picture, &bits);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, picture.width, picture.height, windowDc, 0, 0, SRCCOPY);
    ReadPixels(picture, bits);
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

namespace lumora::test {

namespace {
ModalAnswer* current = nullptr;
constexpr UINT_PTR kAnswerTimer = 0x4D49;

bool IsClass(HWND window, const char* name)
{
    char text[32] = {};
    GetClassNameA(window, text, sizeof text);
    return std::string(text) == name;
}

// Types text into a control as a person would: the dialog hears the change.
void Type(HWND dialog, int id, const char* text)
{
    HWND control = GetDlgItem(dialog, id);
    SetWindowTextA(control, text);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, EN_UPDATE), reinterpret_cast<LPARAM>(control));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(control));
}

// Picks an entry of a list, or types the text where the list has no such entry.
void Pick(HWND dialog, int id, const char* text)
{
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT index =
        SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (index != CB_ERR) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    } else {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextA(combo, text);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo));
    }
}
}  // namespace

ModalAnswer::ModalAnswer(std::function<void(HWND)> answer_) : answer(std::move(answer_))
{
    current = this;
    hook = SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

ModalAnswer::~ModalAnswer()
{
    UnhookWindowsHookEx(hook);
    KillTimer(nullptr, kAnswerTimer);
    current = nullptr;
}

LRESULT CALLBACK ModalAnswer::OnCbt(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && current != nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsClass(window, "#32770") || IsClass(window, "#32768")) {
            current->pending = window;
            ++current->seen;
            SetTimer(nullptr, kAnswerTimer, 100, OnTimer);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalAnswer::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (current == nullptr || current->pending == nullptr) return;
    HWND window = current->pending;
    current->pending = nullptr;
    current->answer(window);
}

void ModalAnswer::Cancel(HWND window)
{
    if (IsClass(window, "#32768"))
        EndMenu();
    else
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
}

std::function<void(HWND)> ModalAnswer::ChooseFont(const char* face, const char* style, const char* size)
{
    return [=](HWND dialog) {
        Pick(dialog, 0x470, face);   // the face list
        Pick(dialog, 0x471, style);  // the style list
        Pick(dialog, 0x472, size);   // the size list
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}

std::function<void(HWND)> ModalAnswer::ChooseColor(COLORREF color)
{
    return [=](HWND dialog) {
        const int ids[3] = {706, 707, 708};  // the red, green and blue fields
        const int parts[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
        for (int i = 0; i < 3; ++i) Type(dialog, ids[i], std::to_string(parts[i]).c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}

MenuSeen RightClick(HWND window, int x, int y, bool& shown)
{
    MenuSeen seen;
    ModalAnswer answer([&](HWND menuWindow) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1, 0, 0));  // MN_GETHMENU
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            seen.items.emplace_back(text);
            seen.ids.push_back(GetMenuItemID(menu, i));
            seen.checked.push_back((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0);
        }
        EndMenu();
    });
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(x, y));
    shown = answer.Seen() > 0;
    return seen;
}

Picture Render(const char* face, int points, bool bold, bool italic, const char* text, COLORREF textColor,
               COLORREF backColor)
{
    const Cell cell = MeasureCell(face, points, bold, italic);
    const int length = static_cast<int>(std::strlen(text));
    Picture picture;
    picture.width = cell.width * length;
    picture.height = cell.height;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = MakeDib(memory, picture, &bits);
    HGDIOBJ oldBitmap = SelectObject(memory, dib);
    HFONT font = MakeFont(screen, face, points, bold, italic);
    HGDIOBJ oldFont = SelectObject(memory, font);
    SetTextColor(memory, textColor);
    SetBkColor(memory, backColor);
    RECT box = {0, 0, picture.width, picture.height};
    DrawTextA(memory, text, length, &box, DT_NOPREFIX | DT_SINGLELINE);
    ReadPixels(picture, bits);
    SelectObject(memory, oldFont);
    DeleteObject(font);
    SelectObject(memory, oldBitmap);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

}  // namespace lumora::test
