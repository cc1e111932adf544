// Our LCDriver library on its own, through its interface: configuration from
// the environment, the request, text and wrap modes, the marquee on a clock
// the test holds, the trace file, and the program's view of the display.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "LCDriverEmulator.h"
#include "TerminalView.h"
#include "lcdriver/LCDriver.h"
#include "support/TestSupport.h"

namespace lumora::test {
namespace {

int64_t fakeNow = 0;
int64_t LCDRIVER_CALL FakeClock() { return fakeNow; }

class LCDriver : public testing::Test {
protected:
    void SetUp() override
    {
        fakeNow = 1000;
        LCDriverVirtualSetClock(FakeClock);
        Release();
    }
    void TearDown() override
    {
        Release();
        LCDriverVirtualSetClock(nullptr);
    }

    static void Release()
    {
        LCDriverVirtualState state{};
        LCDriverVirtualGetState(&state);
        if (state.requested) lcdFree();
    }

    // Requests the display at the configured size, blank, text stopping at the
    // end of a row.
    void Request()
    {
        lcdGetWidth();  // takes the configured size while nobody holds the display
        ASSERT_EQ(lcdRequest(), LCD_OK);
        ASSERT_EQ(lcdClearDisplay(), LCD_OK);
        ASSERT_EQ(lcdSetWrapMode(0, 0), LCD_OK);
    }

    static int32_t Send(const char* text)
    {
        return lcdSendString(reinterpret_cast<const unsigned char*>(text), static_cast<int32_t>(std::strlen(text)));
    }

    // The display as it shows now, one string per row.
    static std::vector<std::string> Rows()
    {
        LCDriverVirtualState state{};
        LCDriverVirtualGetState(&state);
        std::string cells(static_cast<size_t>(LCDriverVirtualGetCells(nullptr, 0)), '?');
        LCDriverVirtualGetCells(reinterpret_cast<unsigned char*>(cells.data()), static_cast<int32_t>(cells.size()));
        std::vector<std::string> rows;
        for (int r = 0; r < state.rows; ++r)
            rows.push_back(cells.substr(static_cast<size_t>(r) * state.columns, state.columns));
        return rows;
    }

    ScopedEnvironment size{"LCDRIVER_SIZE", nullptr};
    ScopedEnvironment busy{"LCDRIVER_BUSY", nullptr};
    ScopedEnvironment trace{"LCDRIVER_TRACE", nullptr};
};

TEST_F(LCDriver, ReadsItsSizeFromTheEnvironment)
{
    const struct {
        const char* configured;
        int columns;
        int rows;
    } cases[] = {
        {nullptr, 20, 4},      {"", 20, 4},     {"40x2", 40, 2}, {"16X1", 16, 1}, {"1x1", 1, 1},
        {"255x255", 255, 255}, {"0x4", 0, 0},   {"256x1", 0, 0}, {"20x", 0, 0},   {"x4", 0, 0},
        {"20x4 ", 0, 0},       {"-20x4", 0, 0}, {"20*4", 0, 0},  {"20x0", 0, 0},  {"99999999999x4", 0, 0},
    };
    for (const auto& c : cases) {
        const std::string label = c.configured ? c.configured : "unset";
        size.Set(c.configured);
        EXPECT_EQ(lcdGetWidth(), c.columns) << label;
        EXPECT_EQ(lcdGetHeight(), c.rows) << label;
        const int32_t result = lcdRequest();
        EXPECT_EQ(result, c.columns > 0 ? LCD_OK : LCD_BAD_CONFIGURATION) << label;
        if (result == LCD_OK) {
            EXPECT_EQ(Rows(), std::vector<std::string>(c.rows, std::string(c.columns, ' '))) << label;
            lcdFree();
        }
    }
}

TEST_F(LCDriver, HandsTheDisplayToOneHolderAtATime)
{
    EXPECT_EQ(lcdSetCursorPos(0, 0), LCD_NOT_REQUESTED);
    EXPECT_EQ(Send("early"), LCD_NOT_REQUESTED);
    EXPECT_EQ(lcdFree(), LCD_NOT_REQUESTED);
    busy.Set("yes");
    EXPECT_EQ(lcdRequest(), LCD_BUSY);
    busy.Set(nullptr);
    Request();
    EXPECT_EQ(lcdRequest(), LCD_BUSY);
    EXPECT_EQ(Rows()[0], std::string(20, ' '));  // nothing of the early text
    EXPECT_EQ(lcdFree(), LCD_OK);
    EXPECT_EQ(lcdRequest(), LCD_OK);
}

TEST_F(LCDriver, WritesTextAtTheCursorAsTheWrapModeSays)
{
    const struct {
        int wrapRows;
        int wrapDisplay;
        int column;
        int row;
        std::vector<std::string> shown;
    } cases[] = {
        {0, 0, 18, 0, {"                  AB", "", "", ""}},  // the rest of the row is dropped
        {1, 0, 18, 0, {"                  AB", "CD", "", ""}},
        {1, 0, 18, 3, {"", "", "", "                  AB"}},  // and past the last row
        {1, 1, 18, 3, {"CD", "", "", "                  AB"}},
    };
    for (const auto& c : cases) {
        Request();
        ASSERT_EQ(lcdSetWrapMode(c.wrapRows, c.wrapDisplay), LCD_OK);
        ASSERT_EQ(lcdSetCursorPos(c.column, c.row), LCD_OK);
        ASSERT_EQ(Send("ABCD"), LCD_OK);
        std::vector<std::string> expected;
        for (const std::string& row : c.shown) expected.push_back(row + std::string(20 - row.size(), ' '));
        EXPECT_EQ(Rows(), expected) << "wrap " << c.wrapRows << " " << c.wrapDisplay;
        lcdFree();
    }
}

TEST_F(LCDriver, RefusesPlacesAndPointersItCannotUse)
{
    Request();
    ASSERT_EQ(lcdSetCursorPos(2, 1), LCD_OK);
    EXPECT_EQ(lcdSetCursorPos(20, 1), LCD_BAD_ARGUMENT);
    EXPECT_EQ(Send("lost"), LCD_OK);  // no good position since: dropped
    EXPECT_EQ(lcdSetCursorPos(0, -1), LCD_BAD_ARGUMENT);
    EXPECT_EQ(lcdSendString(nullptr, 3), LCD_BAD_ARGUMENT);
    EXPECT_EQ(lcdSendString(nullptr, 0), LCD_OK);
    EXPECT_EQ(lcdSetCursor(3), LCD_BAD_ARGUMENT);
    EXPECT_EQ(lcdSetCustomChar(8, reinterpret_cast<const unsigned char*>("12345678")), LCD_BAD_ARGUMENT);
    EXPECT_EQ(lcdSetCustomChar(0, nullptr), LCD_BAD_ARGUMENT);
    EXPECT_EQ(Rows(), std::vector<std::string>(4, std::string(20, ' ')));
    LCDriverVirtualState state{};
    LCDriverVirtualGetState(&state);
    EXPECT_EQ(state.cursorColumn, -1);
    EXPECT_EQ(state.customDefined, 0);

    const unsigned char bitmap[8] = {0xFF, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0xE0, 0x00};
    ASSERT_EQ(lcdSetCustomChar(5, bitmap), LCD_OK);
    unsigned char stored[8] = {};
    ASSERT_EQ(LCDriverVirtualGetCustomChar(5, stored), LCD_OK);
    EXPECT_EQ(Hex(Bytes(stored, stored + 8)), "1F 11 0A 04 0A 11 00 00");  // five pixels a row
}

// The marquee moves by the clock: a step every delay 96ths of a second.
TEST_F(LCDriver, RunsTheMarqueeByTheClock)
{
    const struct {
        int shift;
        int delay;
        int64_t elapsedMs;
        const char* row;
    } cases[] = {
        {1, 24, 0, "Hello               "},     {1, 24, 249, "Hello               "},
        {1, 24, 250, "ello               H"},                                               // the circle is a row wide
        {2, 24, 500, "o               Hell"},   {1, 24, 20 * 250, "Hello               "},  // round the circle once
        {-1, 24, 250, " Hello              "},  // a negative shift runs the other way
        {0, 24, 10000, "Hello               "}, {1, 0, 11, "ello               H"},  // a delay of 0 steps every 96th
        {1, 96, 999, "Hello               "},   {1, 96, 1000, "ello               H"},
        {7, 1, int64_t{1} << 50, nullptr},  // years on: no overflow, still a frame of the text
    };
    for (const auto& c : cases) {
        Request();
        fakeNow = 5000;
        ASSERT_EQ(lcdEnableMarquee(reinterpret_cast<const unsigned char*>("Hello"), 5, 1, c.shift, c.delay), LCD_OK);
        fakeNow += c.elapsedMs;
        const std::string row = Rows()[1];
        if (c.row != nullptr)
            EXPECT_EQ(row, c.row) << "shift " << c.shift << " delay " << c.delay << " after " << c.elapsedMs;
        else
            EXPECT_EQ(row.size(), 20u);
        lcdFree();
    }
}

TEST_F(LCDriver, TheMarqueeCoversItsRowUntilItStops)
{
    Request();
    unsigned char text[] = "Scrolling text, longer than the row";
    ASSERT_EQ(lcdSetCursorPos(0, 2), LCD_OK);
    ASSERT_EQ(Send("Underneath"), LCD_OK);
    ASSERT_EQ(lcdEnableMarquee(text, 35, 2, 1, 24), LCD_OK);
    text[0] = 'X';  // the library has its own copy
    ASSERT_EQ(lcdSetCursorPos(12, 2), LCD_OK);
    ASSERT_EQ(Send("Hi"), LCD_OK);  // written under the marquee
    EXPECT_EQ(Rows()[2], "Scrolling text, long");
    fakeNow += 34 * 250;
    EXPECT_EQ(Rows()[2], "w   Scrolling text, ");  // a circle of the text and three blanks
    ASSERT_EQ(lcdDisableMarquee(), LCD_OK);
    EXPECT_EQ(Rows()[2], "Underneath  Hi      ");

    ASSERT_EQ(lcdEnableMarquee(text, 35, 2, 1, 24), LCD_OK);
    ASSERT_EQ(lcdFree(), LCD_OK);  // the holder's marquee ends with its hold
    EXPECT_EQ(Rows()[2], "Underneath  Hi      ");

    Request();
    const unsigned char* none = nullptr;
    std::vector<unsigned char> huge(65537, 'x');
    const struct {
        const unsigned char* text;
        int length;
        int row;
        int delay;
    } refused[] = {{text, 5, 4, 24}, {text, 5, -1, 24}, {text, -1, 0, 24},
                   {none, 3, 0, 24}, {text, 5, 0, -1},  {huge.data(), 65537, 0, 24}};
    for (const auto& r : refused)
        EXPECT_EQ(lcdEnableMarquee(r.text, r.length, r.row, 1, r.delay), LCD_BAD_ARGUMENT) << r.length << " " << r.row;
    LCDriverVirtualState state{};
    LCDriverVirtualGetState(&state);
    EXPECT_EQ(state.marqueeRunning, 0);
}

TEST_F(LCDriver, TracesEveryCallOnALineOfItsOwn)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("lcdriver-trace-" + IsolatedProfile("trace") + ".txt");
    trace.Set(path.string().c_str());
    const unsigned char bitmap[8] = {0x0E, 0x11, 0x11, 0x11, 0x0E, 0x00, 0x00, 0x1F};
    lcdGetWidth();
    lcdRequest();
    lcdSetCursorPos(4, 1);
    lcdSendString(reinterpret_cast<const unsigned char*>("a\"b\\\x01\xFE"), 6);
    lcdSendString(nullptr, 2);
    lcdSetCustomChar(3, bitmap);
    lcdEnableMarquee(reinterpret_cast<const unsigned char*>("News"), 4, 2, 1, 24);
    lcdDisableMarquee();
    lcdFree();
    trace.Set(nullptr);
    lcdGetWidth();  // lets the file go

    std::ifstream in(path);  // text: a line ends in CR LF on Windows
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    std::filesystem::remove(path);
    EXPECT_EQ(text.str(),
              "lcdGetWidth\n"
              "lcdRequest\n"
              "lcdSetCursorPos 4 1\n"
              "lcdSendString \"a\\x22b\\\\\\x01\\xFE\" 6\n"
              "lcdSendString null 2\n"
              "lcdSetCustomChar 3 \"\\x0E\\x11\\x11\\x11\\x0E\\x00\\x00\\x1F\"\n"
              "lcdEnableMarquee \"News\" 4 2 1 24\n"
              "lcdDisableMarquee\n"
              "lcdFree\n");
}

// The program's view of the library: what the display shows, redrawn when a
// call changes it and when the marquee moves.
TEST_F(LCDriver, TheEmulatorShowsTheVirtualDisplay)
{
    auto emulator = sim::LCDriverEmulator::Connect();
    ASSERT_NE(emulator, nullptr);
    EXPECT_FALSE(emulator->ConnectsAsSerialPort());
    Request();
    ASSERT_EQ(lcdSetCursorPos(3, 1), LCD_OK);
    const unsigned long before = emulator->Version();
    ASSERT_EQ(Send("Hello"), LCD_OK);
    EXPECT_GT(emulator->Version(), before);
    EXPECT_EQ(emulator->Title(), "LCDriver virtual display 20x4");
    EXPECT_EQ(emulator->Cell(1, 3), 'H');
    EXPECT_EQ(emulator->Cell(1, 7), 'o');

    ASSERT_EQ(lcdEnableMarquee(reinterpret_cast<const unsigned char*>("News"), 4, 0, 1, 24), LCD_OK);
    const unsigned long started = emulator->Version();
    fakeNow += 100;
    emulator->Tick(0);
    EXPECT_EQ(emulator->Version(), started) << "nothing moved yet";
    fakeNow += 150;
    emulator->Tick(0);
    EXPECT_GT(emulator->Version(), started);
    EXPECT_EQ(emulator->Cell(0, 0), 'e');

    const std::vector<std::string> frame = sim::DrawFrame(*emulator, "");
    ASSERT_GE(frame.size(), 9u);
    EXPECT_EQ(frame[2],
              "\xE2\x94\x82"
              "ews                N"
              "\xE2\x94\x82");
    EXPECT_EQ(frame[7], " requested, cursor hidden at column 8 row 1, wrap off/off, calls 7");
    EXPECT_EQ(frame[8], " marquee on row 0: 1 place(s) every 24/96 s, step 1");
}

}  // namespace
}  // namespace lumora::test
