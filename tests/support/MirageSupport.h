// Pieces of the simulated display's tests (Windows): settings to store before
// loading, the display window of this thread, the cell a font makes, the
// pixels of a window's client area, and an owner window.
#pragma once

#include <windows.h>

#include <string>
#include <variant>
#include <vector>

namespace lumora::test {

struct StoredSetting {
    const char* name;
    std::variant<int, std::string> value;
};
using StoredSettings = std::vector<StoredSetting>;

// Stores the values in the current profile; ClearSettings removes the profile.
void Store(const StoredSettings& settings);
void ClearSettings();
// Reads an integer of the current profile; false when it is absent.
bool StoredInt(const char* name, int& value);
std::string StoredString(const char* name);

// Serves this thread's window messages for a short while.
void Pump(int ms = 30);
// The display window that this thread owns, or null.
HWND FindDisplayWindow();

// The character cell of a font as the display measures it.
struct Cell {
    int width;
    int height;
    bool fixedPitch;
};
Cell MeasureCell(const char* face, int points, bool bold, bool italic = false);

// The client area of a window, read from the screen, as COLORREF values.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    static Picture Of(HWND window);
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    RECT Whole() const { return {0, 0, width, height}; }
    int Area() const { return width * height; }
    static int AreaOf(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }
    // Pixels of the colour inside r, and outside it.
    int Count(COLORREF color, const RECT& r) const;
    int CountOutside(COLORREF color, const RECT& r) const;
};

// A plain top-level window to own the display window.
struct OwnerWindow {
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND handle;
};

}  // namespace lumora::test
