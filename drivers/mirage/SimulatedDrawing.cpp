// How the simulated display draws: the font and the cell size, the window's
// size, the rows of screen, and the custom characters as stretched dots.
#include <cstring>

#include "SimulatedDevice.h"

namespace {

// One line, no prefix characters, left and top aligned, clipped to the box.
constexpr UINT kTextFormat = DT_NOPREFIX | DT_SINGLELINE;
constexpr LONG kBoldWeight = 700;

// The custom characters as one monochrome bitmap: byte k of scan line j is
// row j of character k, complemented (a lit dot is a 0 bit, which a copy onto
// the window paints in the text colour). Character k's five dots are pixel
// columns 8k+3 to 8k+7; a cell shows them and the column to their right.
constexpr int kCharacters = 8;
constexpr int kDotRows = 8;
constexpr unsigned char kDots = 0x1F;  // the five dot columns of a row byte
constexpr int kFirstDotColumn = 3;
constexpr int kSourceColumns = 6;  // five dots and the gap on their right
// Two unlit bytes after the eight characters: the gap of character 7 lies
// there, and scan lines stay a whole number of 16-bit words.
constexpr int kLineBytes = kCharacters + 2;

}  // namespace

HBITMAP SimulatedDevice::BuildCustomCharBitmap() const
{
    unsigned char bits[kDotRows][kLineBytes];
    std::memset(bits, 0xFF, sizeof bits);
    // Only the low five bits are dots: the gap column is always unlit.
    for (int j = 0; j < kDotRows; ++j)
        for (int k = 0; k < kCharacters; ++k) bits[j][k] = static_cast<unsigned char>(~(customChars[k][j] & kDots));
    return CreateBitmap(kLineBytes * 8, kDotRows, 1, 1, bits);
}

void SimulatedDevice::FitWindow(HWND window)
{
    if (displayWindow == nullptr) displayWindow = window;  // inside WM_CREATE
    HDC dc = GetDC(displayWindow);
    if (logFont.lfFaceName[0] == '\0') {
        // Built once per object from the settings; after a font change it is
        // what the font dialog chose.
        logFont.lfHeight = -MulDiv(fontSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
        lstrcpynA(logFont.lfFaceName, fontFace, LF_FACESIZE);
        if (std::strcmp(fontStyle, "Bold") == 0) logFont.lfWeight = kBoldWeight;
    }
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    ReleaseDC(displayWindow, dc);

    cellWidth = metrics.tmAveCharWidth;
    cellHeight = metrics.tmHeight + metrics.tmExternalLeading;
    // In text metrics the "fixed pitch" bit set means a variable-pitch font.
    fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0 ? 1 : 0;

    RECT frame;
    RECT client;
    GetWindowRect(displayWindow, &frame);
    GetClientRect(displayWindow, &client);
    const int newWidth = width * cellWidth + (frame.right - frame.left) - (client.right - client.left);
    const int newHeight = height * cellHeight + (frame.bottom - frame.top) - (client.bottom - client.top);
    // A negative position means "centre on that axis", around the present window.
    if (xPos < 0) xPos = (frame.left + frame.right) / 2 - newWidth / 2;
    if (yPos < 0) yPos = (frame.top + frame.bottom) / 2 - newHeight / 2;
    MoveWindow(displayWindow, xPos, yPos, newWidth, newHeight, TRUE);
}

HBRUSH SimulatedDevice::GetBackBrush()
{
    if (backBrush == nullptr) backBrush = CreateSolidBrush(backColor);
    return backBrush;
}

void SimulatedDevice::DrawRun(HDC dc, int row, int col, const unsigned char* text, int len)
{
    if (len < 1) return;
    HDC dots = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    while (len > 0) {
        int n = 0;
        while (n < len && text[n] >= kCharacters) ++n;
        if (n > 0) {
            RECT box = {col * cellWidth, row * cellHeight, (col + n) * cellWidth, (row + 1) * cellHeight};
            DrawTextA(dc, reinterpret_cast<const char*>(text), n, &box, kTextFormat);
            col += n;
            text += n;
            len -= n;
            continue;
        }
        if (dots == nullptr) {  // one memory context serves the whole run
            if (customCharBitmap == nullptr) customCharBitmap = BuildCustomCharBitmap();
            dots = CreateCompatibleDC(nullptr);
            oldBitmap = SelectObject(dots, customCharBitmap);
            SetStretchBltMode(dc, BLACKONWHITE);
        }
        const int k = text[0];
        StretchBlt(dc, col * cellWidth, row * cellHeight, cellWidth, cellHeight, dots, 8 * k + kFirstDotColumn, 0,
                   kSourceColumns, kDotRows, SRCCOPY);
        ++col;
        ++text;
        --len;
    }
    if (dots != nullptr) {
        SelectObject(dots, oldBitmap);
        DeleteDC(dots);
    }
}

void SimulatedDevice::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(displayWindow, &paint);
    const COLORREF oldText = SetTextColor(dc, textColor);
    const COLORREF oldBack = SetBkColor(dc, backColor);
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    for (int r = 0; r < height; ++r) {
        const unsigned char* row = screen + r * width;
        if (fixedPitch) {
            DrawRun(dc, r, 0, row, width);
        } else {
            // One line of text per row from the left edge, bytes 0 to 7 as
            // characters of the font. Rows lie at whole cells, where a write
            // invalidates them.
            RECT line;
            GetClientRect(displayWindow, &line);
            line.top = r * cellHeight;
            DrawTextA(dc, reinterpret_cast<const char*>(row), width, &line, kTextFormat);
        }
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    EndPaint(displayWindow, &paint);
}
