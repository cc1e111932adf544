// The simulated display's object, its window and the host's operations on it.
#include "SimulatedDevice.h"

#include <cstring>
#include <new>

#include "../common/ModuleEntry.h"
#include "resource.h"

namespace {

constexpr int kColumns = 20;
constexpr int kRows = 4;
constexpr const char* kClassName = "MIRAGE";
constexpr const char* kUntitled = "Simulated LCD";

// A small caption, kept off the task bar, with a sunken client edge.
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
// An overlapped window with a caption, a border and a close box only.
constexpr DWORD kStyle = WS_SYSMENU;
// WM_CONTEXTMENU's position when the menu key or Shift+F10 asked for it.
constexpr DWORD kFromKeyboard = 0xFFFFFFFF;

// The library's instance handle, recorded when it was loaded.
HINSTANCE& moduleInstance = lumoraModuleInstance;
// The window class, registered by the first opening of any object.
ATOM windowClassAtom = 0;

// A class registered by a library stays registered when the library is
// unloaded, pointing at code that is gone; this takes it away first.
struct ClassRegistration {
    ~ClassRegistration()
    {
        if (windowClassAtom != 0) UnregisterClassA(MAKEINTATOM(windowClassAtom), moduleInstance);
    }
} classRegistration;

bool RegisterWindowClass(WNDPROC procedure)
{
    if (windowClassAtom != 0) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = sizeof(LONG_PTR);  // the object
    windowClass.hInstance = moduleInstance;
    windowClass.hIcon = LoadIconA(moduleInstance, MAKEINTRESOURCEA(IDI_DISPLAY_ICON));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = nullptr;                                  // the window erases its own background
    windowClass.lpszClassName = kClassName;
    windowClassAtom = RegisterClassA(&windowClass);
    return windowClassAtom != 0;
}

}  // namespace

SimulatedDevice::SimulatedDevice(HWND parentWindow, const char* model)
    : ownerWindow(parentWindow),
      displayWindow(nullptr),
      caption(),
      fontSize(10),
      fontFace("Courier New"),
      fontStyle("Bold"),
      textColor(RGB(0, 0, 0)),
      backColor(RGB(240, 240, 40)),
      logFont(),
      cellWidth(0),
      cellHeight(0),
      fixedPitch(0),
      xPos(-1),
      yPos(-1),
      alwaysOnTop(1),
      backBrush(nullptr),
      customCharBitmap(nullptr)
{
    width = kColumns;
    height = kRows;
    lstrcpynA(caption, model != nullptr ? model : kUntitled, sizeof caption);
}

// The device is closed before the object goes; should a window still exist, it
// is let go without a word to the host.
SimulatedDevice::~SimulatedDevice()
{
    if (displayWindow != nullptr) {
        SetWindowLongPtrA(displayWindow, 0, 0);
        DestroyWindow(displayWindow);
    }
    if (backBrush != nullptr) DeleteObject(backBrush);
    if (customCharBitmap != nullptr) DeleteObject(customCharBitmap);
}

int32_t SimulatedDevice::DeviceOpen()
{
    if (!RegisterWindowClass(&SimulatedDevice::WindowProc)) return 0;
    const DWORD exStyle = kExStyle | (alwaysOnTop ? WS_EX_TOPMOST : 0);
    // WM_CREATE sizes and places the window (FitWindow) before this returns.
    displayWindow = CreateWindowExA(exStyle, kClassName, caption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, ownerWindow, nullptr, moduleInstance, this);
    if (displayWindow == nullptr) return 0;
    ShowWindow(displayWindow, SW_SHOW);
    UpdateWindow(displayWindow);
    return 1;
}

// Destroying the window calls Close again (WM_DESTROY), which finds the device
// already closed.
void SimulatedDevice::DeviceClose()
{
    if (displayWindow == nullptr) return;
    DestroyWindow(displayWindow);
    displayWindow = nullptr;
}

// With a fixed-pitch font the cells are drawn at once; otherwise the row is
// repainted from screen, where the host has stored the same bytes.
void SimulatedDevice::DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length)
{
    if (displayWindow == nullptr) return;
    if (!fixedPitch) {
        RECT band;
        GetClientRect(displayWindow, &band);
        band.top = row * cellHeight;
        band.bottom = (row + 1) * cellHeight;
        InvalidateRect(displayWindow, &band, TRUE);
        return;
    }
    HDC dc = GetDC(displayWindow);
    const COLORREF oldText = SetTextColor(dc, textColor);
    const COLORREF oldBack = SetBkColor(dc, backColor);
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    DrawRun(dc, row, column, text, length);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    ReleaseDC(displayWindow, dc);
}

// customChars already holds the new pattern: the cached drawing is dropped and
// rebuilt when a custom character is next drawn.
void SimulatedDevice::DeviceSetCustomChar(int32_t, const unsigned char*)
{
    if (customCharBitmap == nullptr) return;
    DeleteObject(customCharBitmap);
    customCharBitmap = nullptr;
}

void SimulatedDevice::DeviceClear()
{
    if (displayWindow != nullptr) InvalidateRect(displayWindow, nullptr, TRUE);
}

int32_t SimulatedDevice::DeviceHasSetSize() { return 1; }

void SimulatedDevice::WindowDestroyed()
{
    displayWindow = nullptr;
    Close();
}

// A right click in the client area shows the menu there; a request from the
// keyboard (no position) and a click on the frame get default processing.
bool SimulatedDevice::ContextMenuRequested(HWND window, LPARAM lParam)
{
    if (static_cast<DWORD>(lParam) == kFromKeyboard) return false;
    // Screen positions are signed: monitors left of or above the primary one
    // have negative coordinates.
    const POINT screenPoint = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    POINT clientPoint = screenPoint;
    ScreenToClient(window, &clientPoint);
    RECT client;
    GetClientRect(window, &client);
    if (!PtInRect(&client, clientPoint)) return false;
    ShowContextMenu(screenPoint.x, screenPoint.y);
    return true;
}

LRESULT CALLBACK SimulatedDevice::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SimulatedDevice* self = nullptr;
    if (message == WM_CREATE) {
        self = static_cast<SimulatedDevice*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<SimulatedDevice*>(GetWindowLongPtrA(window, 0));
    }
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_CREATE: self->FitWindow(window); return 0;
    case WM_DESTROY:
        SetWindowLongPtrA(window, 0, 0);  // what follows is the system's alone
        self->WindowDestroyed();
        return 0;
    case WM_MOVE: {
        RECT frame;
        GetWindowRect(window, &frame);
        self->WindowMoved(frame.left, frame.top);
        break;
    }
    case WM_PAINT: self->Paint(); return 0;
    case WM_CONTEXTMENU:
        if (self->ContextMenuRequested(window, lParam)) return 0;
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_CHANGE_FONT: self->ChangeFont(); return 0;
        case ID_CHANGE_TEXT_COLOR: self->ChangeTextColor(); return 0;
        case ID_CHANGE_BACK_COLOR: self->ChangeBackColor(); return 0;
        case ID_ALWAYS_ON_TOP: self->ToggleAlwaysOnTop(); return 0;
        default: break;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, self->GetBackBrush());
        return 1;
    }
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LUMORA_PLUGIN_EXPORT DisplayDevice* LUMORA_CDECL CreateDisplayDevice(HWND parentWindow, const char* model)
{
    return new (std::nothrow) SimulatedDevice(parentWindow, model);
}
