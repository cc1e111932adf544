// The simulated display's context menu and what its four commands do: the
// font and colour dialogs and the always-on-top switch. Each change, and each
// new position of the window, goes to the settings at once.
#include "SimulatedDevice.h"

// The common dialogs need windows.h before them.
#include <commdlg.h>

#include "../common/ModuleEntry.h"
#include "SimulatedSettings.h"
#include "resource.h"

using namespace mirage;

namespace {

// The colours the user adds in the colour dialogs, shared by every display of
// this library while it is loaded.
COLORREF customColors[16] = {};

// Opens on the given colour with the custom-colour editor shown.
bool PickColor(HWND owner, COLORREF& color)
{
    CHOOSECOLORA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = color;
    dialog.lpCustColors = customColors;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&dialog)) return false;
    color = dialog.rgbResult;
    return true;
}

}  // namespace

void SimulatedDevice::ShowContextMenu(int x, int y)
{
    HMENU menu = LoadMenuA(lumoraModuleInstance, MAKEINTRESOURCEA(IDR_DISPLAY_MENU));
    if (menu == nullptr) return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        CheckMenuItem(popup, ID_ALWAYS_ON_TOP, MF_BYCOMMAND | (alwaysOnTop ? MF_CHECKED : MF_UNCHECKED));
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, displayWindow, nullptr);
    }
    DestroyMenu(menu);
}

void SimulatedDevice::ChangeFont()
{
    CHOOSEFONTA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;  // the display stays usable while the dialog is open
    dialog.lpLogFont = &logFont;
    dialog.iPointSize = fontSize * 10;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_USESTYLE;
    dialog.lpszStyle = fontStyle;
    dialog.nFontType = SCREEN_FONTTYPE;
    if (!ChooseFontA(&dialog)) return;
    lstrcpynA(fontFace, logFont.lfFaceName, sizeof fontFace);
    fontSize = dialog.iPointSize / 10;  // whole points; the window keeps the exact size
    // The dialog has no owner: the window may have been closed meanwhile.
    if (displayWindow != nullptr) {
        FitWindow(nullptr);
        InvalidateRect(displayWindow, nullptr, TRUE);
    }
    StoreAtOnce settings;
    settings.Int(kFontSize, fontSize);
    settings.String(kFont, fontFace);
    settings.String(kFontStyle, fontStyle);
}

void SimulatedDevice::ChangeTextColor()
{
    if (!PickColor(displayWindow, textColor)) return;
    InvalidateRect(displayWindow, nullptr, TRUE);
    StoreAtOnce().Int(kTextColor, static_cast<int>(textColor));
}

void SimulatedDevice::ChangeBackColor()
{
    if (!PickColor(displayWindow, backColor)) return;
    if (backBrush != nullptr) {
        DeleteObject(backBrush);
        backBrush = nullptr;
    }
    InvalidateRect(displayWindow, nullptr, TRUE);
    StoreAtOnce().Int(kBackColor, static_cast<int>(backColor));
}

void SimulatedDevice::ToggleAlwaysOnTop()
{
    alwaysOnTop = alwaysOnTop ? 0 : 1;
    SetWindowPos(displayWindow, alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    StoreAtOnce().Bool(kAlwaysOnTop, alwaysOnTop);
}

void SimulatedDevice::WindowMoved(int x, int y)
{
    xPos = x;
    yPos = y;
    StoreAtOnce settings;
    settings.Int(kXPos, xPos);
    settings.Int(kYPos, yPos);
}
