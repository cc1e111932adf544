// The simulated display under Wine: its window, read back pixel by pixel.
// "Courier New" is a fixed-pitch face here (Liberation Mono), "Liberation Sans"
// a variable-pitch one.
#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/MirageSupport.h"
#include "support/TestSupport.h"

namespace lumora::test {
namespace {

constexpr COLORREF kDefaultText = RGB(0, 0, 0);
constexpr COLORREF kDefaultBack = RGB(240, 240, 40);
constexpr const char* kVariablePitchFace = "Liberation Sans";

class Mirage : public testing::Test {
protected:
    void SetUp() override
    {
        // A profile of this test alone (the names are cut to fit a profile name).
        IsolatedProfile(std::string(testing::UnitTest::GetInstance()->current_test_info()->name()).substr(0, 40));
    }

    void TearDown() override
    {
        if (device) device->Close();
        ClearSettings();
    }

    // A new object with the given settings loaded.
    DisplayDevice& Make(const StoredSettings& settings = {}, const char* model = "Test", HWND owner = nullptr)
    {
        ClearSettings();
        Store(settings);
        device = driver.Create(model, owner);
        EXPECT_NE(device, nullptr);
        EXPECT_TRUE(device->LoadSettings());
        return *device;
    }

    DisplayDevice& Open(const StoredSettings& settings = {})
    {
        Make(settings);
        EXPECT_TRUE(device->Open());
        Pump();
        return *device;
    }

    HWND Window() const { return FindDisplayWindow(); }

    LoadedDriver driver{"mirage"};
    std::unique_ptr<DisplayDevice> device;
};

TEST_F(Mirage, TheClientAreaIsExactlyTheCellsOfTheFont)
{
    struct Case {
        const char* face;
        int points;
        const char* style;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {"Courier New", 10, "Bold", 20, 4},
        {"Courier New", 14, "Regular", 16, 2},
        {"Courier New", 9, "Bold", 40, 1},
        {kVariablePitchFace, 12, "Bold", 20, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.points));
        Make({{"MirageFont", c.face}, {"MirageFontSize", c.points}, {"MirageFontStyle", c.style}});
        ASSERT_TRUE(device->SetSize(c.columns, c.rows));
        ASSERT_TRUE(device->Open());
        const Cell cell = MeasureCell(c.face, c.points, std::strcmp(c.style, "Bold") == 0);
        RECT client;
        GetClientRect(Window(), &client);
        EXPECT_EQ(client.right, c.columns * cell.width);
        EXPECT_EQ(client.bottom, c.rows * (cell.height));
        device->Close();
    }
}

TEST_F(Mirage, TheDefaultFontIsFixedPitchCourierNewBold)
{
    Open();
    const Cell cell = MeasureCell("Courier New", 10, true);
    EXPECT_TRUE(cell.fixedPitch);
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 20 * cell.width);
    EXPECT_EQ(client.bottom, 4 * cell.height);
}

TEST_F(Mirage, TextIsDrawnInTheTextColourOnTheBackgroundInTheWrittenCellsOnly)
{
    struct Case {
        StoredSettings settings;
        COLORREF text;
        COLORREF back;
    };
    const Case cases[] = {
        {{}, kDefaultText, kDefaultBack},
        {{{"MirageTextColor", int(RGB(200, 16, 16))}, {"MirageBackColor", int(RGB(0, 0, 96))}},
         RGB(200, 16, 16),
         RGB(0, 0, 96)},
    };
    for (const Case& c : cases) {
        Open(c.settings);
        const Cell cell = MeasureCell("Courier New", 10, true);
        ASSERT_TRUE(device->WriteText(1, 2, "HM", 2));  // drawn at once, no repaint
        const Picture picture = Picture::Of(Window());
        const RECT written = {2 * cell.width, cell.height, 4 * cell.width, 2 * cell.height};
        EXPECT_GT(picture.Count(c.text, written), 10);
        EXPECT_GT(picture.Count(c.back, written), 10);
        EXPECT_EQ(picture.CountOutside(c.back, written), picture.Area() - picture.AreaOf(written))
            << "only the two written cells show text";
        device->Close();
    }
}

// Row j of the pattern, with bits the display must not show above the five dots.
const unsigned char kPattern[8] = {0x15, 0x0A, 0xFF, 0xE0, 0x11, 0x1F, 0x00, 0x04};

bool Lit(const unsigned char pattern[8], int dotRow, int dotColumn) { return (pattern[dotRow] >> (4 - dotColumn)) & 1; }

// Every dot of the cell, and the gap column to their right, at its centre.
void ExpectDots(const Picture& picture, const Cell& cell, int row, int column, const unsigned char pattern[8],
                COLORREF text, COLORREF back)
{
    for (int j = 0; j < 8; ++j) {
        for (int i = 0; i < 6; ++i) {
            const int x = column * cell.width + (2 * i + 1) * cell.width / 12;
            const int y = row * cell.height + (2 * j + 1) * cell.height / 16;
            const bool lit = i < 5 && Lit(pattern, j, i);
            EXPECT_EQ(picture.At(x, y), lit ? text : back) << "dot row " << j << ", column " << i;
        }
    }
}

TEST_F(Mirage, ACustomCharacterFillsItsCellWithItsFiveDotColumnsAndABlankGap)
{
    Open({{"MirageFontSize", 24}});
    const Cell cell = MeasureCell("Courier New", 24, true);
    const unsigned char allLit[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    // Every character's neighbour has its top bits set, character 7 included,
    // whose gap lies past the last character.
    for (int k = 0; k < 8; ++k) ASSERT_TRUE(device->DefineCustomChar(k, allLit));
    ASSERT_TRUE(device->DefineCustomChar(3, kPattern));
    ASSERT_TRUE(device->DefineCustomChar(7, kPattern));
    ASSERT_TRUE(device->WriteText(0, 1,
                                  "\x03"
                                  "A\x07",
                                  3));
    Picture picture = Picture::Of(Window());
    ExpectDots(picture, cell, 0, 1, kPattern, kDefaultText, kDefaultBack);
    ExpectDots(picture, cell, 0, 3, kPattern, kDefaultText, kDefaultBack);

    // A repaint draws screen the same way.
    InvalidateRect(Window(), nullptr, TRUE);
    UpdateWindow(Window());
    EXPECT_EQ(Picture::Of(Window()).pixels, picture.pixels);
}

TEST_F(Mirage, ANewCustomCharacterShowsOnlyWhenItsCellIsDrawnAgain)
{
    Open({{"MirageFontSize", 24}});
    const Cell cell = MeasureCell("Courier New", 24, true);
    const unsigned char blank[8] = {};
    ASSERT_TRUE(device->DefineCustomChar(0, blank));
    ASSERT_TRUE(device->WriteText(2, 5, "\x00", 1));
    const Picture before = Picture::Of(Window());

    ASSERT_TRUE(device->DefineCustomChar(0, kPattern));
    Pump();
    EXPECT_EQ(Picture::Of(Window()).pixels, before.pixels);

    ASSERT_TRUE(device->WriteText(2, 5, "\x00", 1));
    ExpectDots(Picture::Of(Window()), cell, 2, 5, kPattern, kDefaultText, kDefaultBack);
}

TEST_F(Mirage, AClearRepaintsTheWholeWindowFromScreen)
{
    Open();
    ASSERT_TRUE(device->WriteText(0, 0, "Hello", 5));
    ASSERT_TRUE(device->ClearText());
    Pump();
    const Picture picture = Picture::Of(Window());
    EXPECT_EQ(picture.Count(kDefaultBack, picture.Whole()), picture.Area());
}

TEST_F(Mirage, AVariablePitchFontDrawsCustomCharactersAsCharactersAndRepaintsTheRow)
{
    Open({{"MirageFont", kVariablePitchFace}, {"MirageFontSize", 24}});
    const Cell cell = MeasureCell(kVariablePitchFace, 24, true);
    ASSERT_FALSE(cell.fixedPitch);
    const unsigned char allLit[8] = {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F};
    ASSERT_TRUE(device->DefineCustomChar(1, allLit));

    // A write only marks its row's band for repainting, even with no text.
    ValidateRect(Window(), nullptr);
    DeviceAccess::Write(*device, 2, 0, {}, 0);
    RECT band;
    ASSERT_TRUE(GetUpdateRect(Window(), &band, FALSE));
    EXPECT_EQ(band.top, 2 * cell.height);
    EXPECT_EQ(band.bottom, 3 * cell.height);
    EXPECT_EQ(band.left, 0);

    ASSERT_TRUE(device->WriteText(1, 0, "\x01\x01\x01", 3));
    const Picture unpainted = Picture::Of(Window());
    EXPECT_EQ(unpainted.Count(kDefaultText, unpainted.Whole()), 0) << "nothing is drawn before the paint";
    Pump();
    const Picture picture = Picture::Of(Window());
    const RECT first = {0, cell.height, cell.width, 2 * cell.height};
    EXPECT_LT(picture.Count(kDefaultText, first), picture.AreaOf(first) / 2)
        << "a custom character of a variable-pitch font is not a filled dot pattern";
    const RECT row1 = {0, cell.height, picture.width, 2 * cell.height};
    EXPECT_EQ(picture.CountOutside(kDefaultBack, row1), picture.Area() - picture.AreaOf(row1));
}

TEST_F(Mirage, AWriteOfNoTextDrawsNothing)
{
    Open();
    ASSERT_TRUE(device->WriteText(0, 0, "abc", 3));
    const Picture before = Picture::Of(Window());
    ValidateRect(Window(), nullptr);
    DeviceAccess::Write(*device, 0, 0, {'X'}, 0);
    EXPECT_FALSE(GetUpdateRect(Window(), nullptr, FALSE));
    EXPECT_EQ(Picture::Of(Window()).pixels, before.pixels);
}

TEST_F(Mirage, WritesAndClearsWithNoWindowDoNothing)
{
    DisplayDevice& d = Make();
    DeviceAccess::Write(d, 0, 0, {'A', 1}, 2);
    DeviceAccess::Clear(d);
    DeviceAccess::Close(d);
    EXPECT_EQ(Window(), nullptr);
}

TEST_F(Mirage, TheCaptionIsTheModelNameCutTo31Characters)
{
    const std::string forty(40, 'm');
    struct Case {
        const char* model;
        std::string caption;
    };
    const Case cases[] = {
        {nullptr, "Simulated LCD"},
        {"LCD 20x4", "LCD 20x4"},
        {forty.c_str(), forty.substr(0, 31)},
        {"", ""},
    };
    for (const Case& c : cases) {
        Make({}, c.model);
        ASSERT_TRUE(device->Open());
        char text[64] = {};
        GetWindowTextA(Window(), text, sizeof text);
        EXPECT_EQ(std::string(text), c.caption);
        device->Close();
    }
}

TEST_F(Mirage, TheWindowHasItsClassStylesAndOwner)
{
    const OwnerWindow owner;
    for (int topmost : {1, 0}) {
        SCOPED_TRACE(topmost);
        Make({{"MirageAlwaysOnTop", topmost}}, "Test", owner.handle);
        ASSERT_TRUE(device->Open());
        HWND window = Window();
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        EXPECT_STREQ(name, "MIRAGE");
        EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
        EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), 0);
        EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0);
        EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)), LoadCursor(nullptr, IDC_ARROW));
        const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP));
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & 0x38C, topmost ? 0x388 : 0x380);
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner.handle);
        device->Close();
    }
}

TEST_F(Mirage, OpeningAgainKeepsTheFirstFontAndTheLastPosition)
{
    Open({{"MirageXPos", 40}, {"MirageYPos", 30}});
    RECT first;
    GetClientRect(Window(), &first);
    MoveWindow(Window(), 150, 120, 300, 200, TRUE);  // the user drags (and the size is wrong)
    device->Close();
    EXPECT_EQ(Window(), nullptr);

    // Settings loaded now do not change the font this object has built.
    ClearSettings();
    Store({{"MirageFontSize", 20}, {"MirageFont", kVariablePitchFace}});
    ASSERT_TRUE(device->LoadSettings());
    ASSERT_TRUE(device->Open());
    RECT frame;
    GetWindowRect(Window(), &frame);
    EXPECT_EQ(frame.left, 150);
    EXPECT_EQ(frame.top, 120);
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, first.right);
    EXPECT_EQ(client.bottom, first.bottom);
}

TEST_F(Mirage, ClosingTheWindowClosesTheDevice)
{
    enum class How { CloseBox, SystemMenu, Owner };
    for (How how : {How::CloseBox, How::SystemMenu, How::Owner}) {
        SCOPED_TRACE(static_cast<int>(how));
        auto owner = std::make_unique<OwnerWindow>();
        Make({}, "Test", owner->handle);
        ASSERT_TRUE(device->Open());
        HWND window = Window();
        switch (how) {
        case How::CloseBox: SendMessageA(window, WM_CLOSE, 0, 0); break;
        case How::SystemMenu: SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        case How::Owner: owner.reset(); break;
        }
        Pump();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(device->IsOpen());
        device->Close();  // harmless now
        EXPECT_FALSE(device->WriteText(0, 0, "x", 1));
        if (how != How::Owner) {  // with its owner gone there is nothing to open a window for
            ASSERT_TRUE(device->Open()) << "a closed device opens again";
            EXPECT_NE(Window(), nullptr);
            device->Close();
        }
    }
}

TEST_F(Mirage, DeletingAnOpenObjectTakesItsWindowAway)
{
    Open();
    HWND window = Window();
    device.reset();
    Pump();
    EXPECT_FALSE(IsWindow(window));
}

// Each opening makes a window and stores where it went, about 25 ms under
// Wine: the suite opens a thousand times, LUMORA_WINDOW_CYCLES=10000 as often
// as a soak test asks.
TEST_F(Mirage, OpeningsLeaveNothingBehind)
{
    const char* asked = std::getenv("LUMORA_WINDOW_CYCLES");
    const int cycles = asked != nullptr && std::atoi(asked) > 0 ? std::atoi(asked) : 1000;
    Make();
    ExpectOpeningsLeaveNothingBehind(*device, cycles, [] { Pump(0); });
}

// ---- The context menu, the dialogs and the settings ---------------------------

// A point in the middle of the client area, in screen coordinates.
POINT ClientMiddle(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    POINT p = {client.right / 2, client.bottom / 2};
    ClientToScreen(window, &p);
    return p;
}

void Command(HWND window, int id) { SendMessageA(window, WM_COMMAND, id, 0); }

TEST_F(Mirage, TheMenuHasItsFourItemsAndTheCheckFollowsAlwaysOnTop)
{
    Open({{"MirageAlwaysOnTop", 0}});
    bool shown = false;
    const POINT p = ClientMiddle(Window());
    MenuSeen menu = RightClick(Window(), p.x, p.y, shown);
    ASSERT_TRUE(shown);
    EXPECT_EQ(menu.items, (std::vector<std::string>{"Change &Font...", "Change Text &Color...",
                                                    "Change &Background Color...", "&Always on top"}));
    EXPECT_EQ(menu.ids, (std::vector<UINT>{40001, 40002, 40003, 40004}));
    EXPECT_EQ(menu.checked, (std::vector<bool>{false, false, false, false}));

    Command(Window(), 40004);
    menu = RightClick(Window(), p.x, p.y, shown);
    EXPECT_EQ(menu.checked.at(3), true);

    // Settings loaded into the open display show in the menu at once.
    Store({{"MirageAlwaysOnTop", 0}});
    ASSERT_TRUE(device->LoadSettings());
    menu = RightClick(Window(), p.x, p.y, shown);
    EXPECT_EQ(menu.checked.at(3), false);
}

TEST_F(Mirage, OnlyARightClickInTheClientAreaShowsTheMenu)
{
    Open();
    RECT frame;
    GetWindowRect(Window(), &frame);
    struct Case {
        int x;
        int y;
        const char* what;
    };
    const Case cases[] = {
        {-1, -1, "from the keyboard"},
        {frame.left + 3, frame.top + 3, "on the frame"},
        {frame.right + 20, frame.bottom + 20, "outside the window"},
    };
    for (const Case& c : cases) {
        bool shown = false;
        const MenuSeen menu = RightClick(Window(), c.x, c.y, shown);
        // Default processing may show the system menu, never the display's own.
        EXPECT_EQ(std::count(menu.ids.begin(), menu.ids.end(), 40001u), 0) << c.what;
    }
}

TEST_F(Mirage, ACancelledDialogChangesNothingAndStoresNothing)
{
    Open({{"MirageFontSize", 12}});
    ASSERT_TRUE(device->WriteText(0, 0, "Hello", 5));
    ClearSettings();
    const Picture before = Picture::Of(Window());
    RECT frameBefore;
    GetWindowRect(Window(), &frameBefore);
    for (int id : {40001, 40002, 40003}) {
        SCOPED_TRACE(id);
        ModalAnswer answer(ModalAnswer::Cancel);
        Command(Window(), id);
        EXPECT_EQ(answer.Seen(), 1) << "the dialog came up";
        Pump();
        EXPECT_EQ(Picture::Of(Window()).pixels, before.pixels);
        RECT frame;
        GetWindowRect(Window(), &frame);
        EXPECT_TRUE(EqualRect(&frame, &frameBefore));
        int stored = 0;
        for (const char* name : {"MirageFontSize", "MirageTextColor", "MirageBackColor", "MirageXPos"})
            EXPECT_FALSE(StoredInt(name, stored)) << name;
        EXPECT_EQ(StoredString("MirageFont"), "");
    }
}

// How many pixels of the window's top-left corner match a rendering.
int Matches(const Picture& window, const Picture& reference)
{
    int same = 0;
    for (int y = 0; y < reference.height; ++y)
        for (int x = 0; x < reference.width; ++x) same += window.At(x, y) == reference.At(x, y);
    return same;
}

TEST_F(Mirage, AChosenFontShowsAsChosenButANewObjectBuildsItFromTheStoredValues)
{
    // Wine's font dialog leaves the style name as it was, where Windows writes
    // the chosen one; "Italic" makes that no matter: it is not "Bold" either.
    Open({{"MirageFontStyle", std::string("Italic")}});
    {
        ModalAnswer answer(ModalAnswer::ChooseFont(kVariablePitchFace, "Bold Italic", "16"));
        Command(Window(), 40001);
        ASSERT_EQ(answer.Seen(), 1);
    }
    Pump();
    EXPECT_EQ(StoredString("MirageFont"), kVariablePitchFace);
    const std::string style = StoredString("MirageFontStyle");
    EXPECT_TRUE(style == "Bold Italic" || style == "Italic") << style;
    int size = 0;
    EXPECT_TRUE(StoredInt("MirageFontSize", size));
    EXPECT_EQ(size, 16);

    // The window is sized for the new cells and draws in the face as chosen.
    const Cell cell = MeasureCell(kVariablePitchFace, 16, true, true);
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 20 * cell.width);
    EXPECT_EQ(client.bottom, 4 * cell.height);
    const Picture boldItalic = Render(kVariablePitchFace, 16, true, true, "Ag", kDefaultText, kDefaultBack);
    const Picture regular = Render(kVariablePitchFace, 16, false, false, "Ag", kDefaultText, kDefaultBack);
    ASSERT_TRUE(device->WriteText(0, 0, "Ag", 2));
    Pump();
    Picture shown = Picture::Of(Window());
    EXPECT_GT(Matches(shown, boldItalic), Matches(shown, regular) + boldItalic.Area() / 20);

    // A new object built from the stored values has a regular face.
    device->Close();
    device = driver.Create("Again");
    ASSERT_TRUE(device->LoadSettings());
    ASSERT_TRUE(device->Open());
    ASSERT_TRUE(device->WriteText(0, 0, "Ag", 2));
    Pump();
    shown = Picture::Of(Window());
    EXPECT_GT(Matches(shown, regular), Matches(shown, boldItalic) + regular.Area() / 20);
}

TEST_F(Mirage, AVariablePitchChoiceSwitchesTheDrawingAtOnce)
{
    Open({{"MirageFontSize", 24}});
    const unsigned char allLit[8] = {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F};
    ASSERT_TRUE(device->DefineCustomChar(0, allLit));
    ASSERT_TRUE(device->WriteText(0, 0, "\x00", 1));
    const Cell before = MeasureCell("Courier New", 24, true);
    const RECT first = {0, 0, before.width * 5 / 6, before.height};
    ASSERT_EQ(Picture::Of(Window()).Count(kDefaultText, first), Picture::AreaOf(first));
    {
        ModalAnswer answer(ModalAnswer::ChooseFont(kVariablePitchFace, "Regular", "24"));
        Command(Window(), 40001);
    }
    Pump();
    const Cell cell = MeasureCell(kVariablePitchFace, 24, false);
    const RECT now = {0, 0, cell.width * 5 / 6, cell.height};
    const Picture picture = Picture::Of(Window());
    EXPECT_LT(picture.Count(kDefaultText, now), Picture::AreaOf(now) / 2) << "no dot pattern any more";
}

TEST_F(Mirage, ChosenColoursChangeThePixelsAndAreStored)
{
    Open();
    ASSERT_TRUE(device->WriteText(1, 1, "Hi", 2));
    const COLORREF text = RGB(10, 120, 200);
    const COLORREF back = RGB(30, 30, 30);
    {
        ModalAnswer answer(ModalAnswer::ChooseColor(text));
        Command(Window(), 40002);
    }
    {
        ModalAnswer answer(ModalAnswer::ChooseColor(back));
        Command(Window(), 40003);
    }
    Pump();
    int stored = 0;
    EXPECT_TRUE(StoredInt("MirageTextColor", stored));
    EXPECT_EQ(static_cast<COLORREF>(stored), text);
    EXPECT_TRUE(StoredInt("MirageBackColor", stored));
    EXPECT_EQ(static_cast<COLORREF>(stored), back);
    const Picture picture = Picture::Of(Window());
    EXPECT_EQ(picture.Count(kDefaultBack, picture.Whole()), 0);
    EXPECT_GT(picture.Count(back, picture.Whole()), picture.Area() / 2);
    EXPECT_GT(picture.Count(text, picture.Whole()), 10);
}

TEST_F(Mirage, AlwaysOnTopSwitchesTheZOrderAndIsStored)
{
    Open();
    for (int expected : {0, 1, 0}) {
        Command(Window(), 40004);
        EXPECT_EQ((GetWindowLongPtrA(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, expected == 1);
        int stored = -1;
        EXPECT_TRUE(StoredInt("MirageAlwaysOnTop", stored));
        EXPECT_EQ(stored, expected);
    }
}

TEST_F(Mirage, EveryMoveIsStoredAndACentredWindowStoresWhereItWent)
{
    Open();
    RECT frame;
    GetWindowRect(Window(), &frame);
    int x = -1;
    int y = -1;
    EXPECT_TRUE(StoredInt("MirageXPos", x));
    EXPECT_TRUE(StoredInt("MirageYPos", y));
    EXPECT_EQ(x, frame.left);
    EXPECT_EQ(y, frame.top);
    EXPECT_GE(x, 0);

    SetWindowPos(Window(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(StoredInt("MirageXPos", x));
    EXPECT_TRUE(StoredInt("MirageYPos", y));
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 77);
}

TEST_F(Mirage, SavedSettingsComeBackInANewObject)
{
    const StoredSettings chosen = {
        {"MirageFontSize", 14},
        {"MirageFont", std::string(kVariablePitchFace)},
        {"MirageFontStyle", std::string("Italic")},
        {"MirageTextColor", int(RGB(1, 2, 3))},
        {"MirageBackColor", int(RGB(200, 220, 240))},
        {"MirageXPos", 210},
        {"MirageYPos", 90},
        {"MirageAlwaysOnTop", 0},
    };
    Make(chosen);
    ClearSettings();
    ASSERT_TRUE(device->SaveSettings());
    for (const StoredSetting& s : chosen) {
        if (const int* number = std::get_if<int>(&s.value)) {
            int stored = -7;
            EXPECT_TRUE(StoredInt(s.name, stored)) << s.name;
            EXPECT_EQ(stored, *number) << s.name;
        } else {
            EXPECT_EQ(StoredString(s.name), std::get<std::string>(s.value)) << s.name;
        }
    }

    device = driver.Create("Again");
    ASSERT_TRUE(device->LoadSettings());
    ASSERT_TRUE(device->Open());
    Pump();
    RECT frame;
    GetWindowRect(Window(), &frame);
    EXPECT_EQ(frame.left, 210);
    EXPECT_EQ(frame.top, 90);
    EXPECT_EQ(GetWindowLongPtrA(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const Cell cell = MeasureCell(kVariablePitchFace, 14, false);
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 20 * cell.width);
    EXPECT_EQ(client.bottom, 4 * cell.height);
    const Picture picture = Picture::Of(Window());
    EXPECT_EQ(picture.Count(RGB(200, 220, 240), picture.Whole()), picture.Area());
}

TEST_F(Mirage, AMissingOrUnreadableValueKeepsTheDefault)
{
    // Only the text colour is stored well; the size is stored as text.
    Open({{"MirageTextColor", int(RGB(255, 0, 0))}, {"MirageFontSize", std::string("big")}});
    ASSERT_TRUE(device->WriteText(0, 0, "W", 1));
    const Cell cell = MeasureCell("Courier New", 10, true);
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 20 * cell.width);
    EXPECT_EQ(client.bottom, 4 * cell.height);
    EXPECT_NE(GetWindowLongPtrA(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const Picture picture = Picture::Of(Window());
    EXPECT_GT(picture.Count(RGB(255, 0, 0), picture.Whole()), 5);
    EXPECT_EQ(picture.CountOutside(kDefaultBack, RECT{0, 0, cell.width, cell.height}),
              picture.Area() - cell.width * cell.height);
}

// The window class goes with the library: a library loaded again registers it
// afresh, with its new window procedure.
TEST(MirageLibrary, CanBeUnloadedAndLoadedAgain)
{
    IsolatedProfile("reload");
    for (int round = 0; round < 3; ++round) {
        LoadedDriver driver("mirage");
        auto device = driver.Create("Again");
        ASSERT_TRUE(device->Open()) << "round " << round;
        Pump();
        EXPECT_NE(FindDisplayWindow(), nullptr);
        device->Close();
    }
}

}  // namespace
}  // namespace lumora::test
