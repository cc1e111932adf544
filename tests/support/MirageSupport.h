// Pieces of the simulated display's tests (Windows): settings to store before
// loading, the display window of this thread, the cell a font makes, the
// pixels of a window's client area, and an owner window.
#pragma once

#include <windows.h>

#include <functional>
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

namespace lumora::test {

// Answers the modal dialogs and menus that this thread opens, from inside
// their own message loops: a CBT hook notes each dialog ("#32770") and popup
// menu ("#32768") as it is created, and a timer then runs the answer.
class ModalAnswer {
public:
    // answer(window) is called once per dialog or menu window; it must close it.
    explicit ModalAnswer(std::function<void(HWND)> answer);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;
    int Seen() const { return seen; }

    // Answers.
    static void Cancel(HWND dialog);
    // The font dialog: face, style and size typed as a person would, then OK.
    static std::function<void(HWND)> ChooseFont(const char* face, const char* style, const char* size);
    // The colour dialog: red, green and blue typed in, then OK.
    static std::function<void(HWND)> ChooseColor(COLORREF color);

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::function<void(HWND)> answer;
    HHOOK hook;
    HWND pending = nullptr;
    int seen = 0;
};

// What a popup menu showed: its item texts and which were checked.
struct MenuSeen {
    std::vector<std::string> items;
    std::vector<UINT> ids;
    std::vector<bool> checked;
};
// Opens the display's context menu at a screen point and closes it again;
// shown is false when no menu came up.
MenuSeen RightClick(HWND window, int x, int y, bool& shown);

// Pixels of text drawn as the display draws a row: font, colours, cell box.
Picture Render(const char* face, int points, bool bold, bool italic, const char* text, COLORREF textColor,
               COLORREF backColor);

}  // namespace lumora::test
