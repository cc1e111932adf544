// A simulated character display: a small top-level window that shows the
// host's text buffer as a grid of cells in a chosen font and two colours, and
// the eight custom characters as dot patterns stretched over a whole cell.
// Windows only.
#pragma once

#include <windows.h>

#include "lumora/DisplayDevice.h"

class SimulatedDevice : public DisplayDevice {
public:
    SimulatedDevice(HWND parentWindow, const char* model);
    ~SimulatedDevice() override;

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override;
    void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) override;
    int32_t DeviceOpen() override;
    void DeviceClose() override;
    void DeviceClear() override;
    int32_t DeviceHasSetSize() override;
    void DeviceLoadSettings(HKEY key) override;
    void DeviceSaveSettings(HKEY key) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Drawing (SimulatedDrawing.cpp).
    void FitWindow(HWND window);
    HBRUSH GetBackBrush();
    void DrawRun(HDC dc, int row, int col, const unsigned char* text, int len);
    void Paint();
    HBITMAP BuildCustomCharBitmap() const;

    void WindowDestroyed();

    // The context menu and its commands; every change is stored at once
    // (SimulatedMenu.cpp).
    bool ContextMenuRequested(HWND window, LPARAM lParam);
    void ShowContextMenu(int x, int y);
    void ChangeFont();
    void ChangeTextColor();
    void ChangeBackColor();
    void ToggleAlwaysOnTop();
    void WindowMoved(int x, int y);

    HWND ownerWindow;
    HWND displayWindow;
    char caption[32];
    int32_t fontSize;
    char fontFace[32];
    char fontStyle[32];
    COLORREF textColor;
    COLORREF backColor;
    LOGFONTA logFont;
    int32_t cellWidth;
    int32_t cellHeight;
    int32_t fixedPitch;
    int32_t xPos;
    int32_t yPos;
    int32_t alwaysOnTop;
    HBRUSH backBrush;
    HBITMAP customCharBitmap;
};
