// The Matrix Orbital driver's bytes, captured at the host's serial layer; its
// emulated display; and the program running it on the virtual port.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "EmulatedPort.h"
#include "MatrixOrbitalEmulator.h"
#include "Program.h"
#include "support/TestSupport.h"

namespace lumora::test {
namespace {

// The driver's protected operations that the shared access does not reach.
struct HeronAccess : DisplayDevice {
    static void SetGPO(DisplayDevice& d, int32_t gpo, int32_t on) { (d.*(&HeronAccess::DeviceSetGPO))(gpo, on); }
    static void LoadSettings(DisplayDevice& d, HKEY key) { (d.*(&HeronAccess::DeviceLoadSettings))(key); }
};

// Backlight on, line-wrap off, scroll off, both cursors off: how every opening begins.
const std::string kOpening = "FE 42 00 FE 44 FE 52 FE 4B FE 54";

class Heron : public testing::Test {
protected:
    void SetUp() override { IsolatedProfile(testing::UnitTest::GetInstance()->current_test_info()->name()); }

    std::unique_ptr<DisplayDevice> Make(const char* model)
    {
        auto d = driver.Create(model);
        if (d == nullptr) {
            ADD_FAILURE() << "no object for " << (model ? model : "(null)");
            return d;
        }
        EXPECT_TRUE(d->SetPortName(port.Name().c_str()));
        return d;
    }

    // The one write of an opening.
    std::string OpenedWith(DisplayDevice& d)
    {
        port.Forget();
        EXPECT_TRUE(d.Open()) << d.GetLastError();
        EXPECT_EQ(port.Writes().size(), 1u);
        const std::string sent = port.Writes().empty() ? "" : Hex(port.Writes()[0]);
        d.Close();
        port.Forget();
        return sent;
    }

    // An open display whose opening is forgotten.
    std::unique_ptr<DisplayDevice> Opened(const char* model)
    {
        auto d = Make(model);
        EXPECT_TRUE(d->Open()) << d->GetLastError();
        port.Forget();
        return d;
    }

    static void StoreDebounce(int ms)
    {
        HKEY key = DisplayDevice::GetSettingsKey();
        ASSERT_TRUE(DisplayDevice::SetSettingInt(key, "DebounceTime", ms));
        DisplayDevice::CloseSettingsKey(key);
    }

    static int StoredDebounce(int absent)
    {
        HKEY key = DisplayDevice::GetSettingsKey();
        int value = absent;
        DisplayDevice::GetSettingInt(key, "DebounceTime", value);
        DisplayDevice::CloseSettingsKey(key);
        return value;
    }

    LoadedDriver driver{"heron"};
    CapturePort port;
};

// ---- Models --------------------------------------------------------------------

TEST_F(Heron, TakesGeometryAndFeaturesFromTheModelTable)
{
    const struct {
        const char* model;
        int columns, rows, contrast, brightness, keypad, outputs;
    } cases[] = {
        {"LCD2021", 20, 2, 1, 0, 0, 1},
        {"LCD4021", 40, 2, 1, 0, 0, 1},
        {"LCD2041", 20, 4, 1, 0, 0, 1},
        {"LCD4041", 40, 4, 1, 0, 0, 1},
        {"LK162", 16, 2, 1, 0, 1, 6},
        {"LK202", 20, 2, 1, 0, 1, 6},
        {"LK204", 20, 4, 1, 0, 1, 6},
        {"LK402", 40, 2, 1, 0, 1, 7},
        {"LK404", 40, 4, 1, 0, 1, 1},
        {"VFD2021", 20, 2, 0, 1, 0, 1},
        {"VFD2041", 20, 4, 0, 1, 0, 1},
        {"VK202", 20, 2, 0, 1, 1, 6},
        {"VK204", 20, 4, 0, 1, 1, 6},
        // No row matches: the host's 20 x 4, a contrast display without keypad or outputs.
        {"lk204", 20, 4, 1, 0, 0, 0},
        {"LK2040", 20, 4, 1, 0, 0, 0},
        {"LK20", 20, 4, 1, 0, 0, 0},
        {"", 20, 4, 1, 0, 0, 0},
        {nullptr, 20, 4, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const std::string name = c.model ? c.model : "(null)";
        auto d = driver.Create(c.model);
        ASSERT_NE(d, nullptr) << name;
        EXPECT_EQ(d->GetWidth(), c.columns) << name;
        EXPECT_EQ(d->GetHeight(), c.rows) << name;
        EXPECT_EQ(d->HasContrast(), c.contrast) << name;
        EXPECT_EQ(d->HasBrightness(), c.brightness) << name;
        EXPECT_EQ(d->HasKeypad(), c.keypad) << name;
        EXPECT_EQ(d->GetOutputCount(), c.outputs) << name;
        EXPECT_EQ(d->HasSetSize(), 0) << name;
        EXPECT_EQ(d->HasBacklight(), 0) << name;
        EXPECT_EQ(d->GetPortType(), 1) << name;
        EXPECT_STREQ(d->GetPortName(), "COM1") << name;
        EXPECT_EQ(d->GetBaudRate(), 19200) << name;
    }
}

// Backslash and tilde live elsewhere in the display's character set, the bytes
// 8-15 are not characters and 254 would start a command.
TEST_F(Heron, TextIsTranslatedForTheDisplaysCharacterSet)
{
    auto d = Opened("LK204");
    const char text[] = "\\~\x8C\x8E\x08\x0F\xFE\x07\x10\x5B";
    ASSERT_TRUE(d->WriteText(0, 0, text, sizeof text - 1));
    EXPECT_EQ(Hex(port.AllBytes()), "FE 48 8C 8E 5C 7E 20 20 20 07 10 5B");
}

// ---- Opening -------------------------------------------------------------------

TEST_F(Heron, OpensWithContrastOrBrightnessAndTheKeypadsDebounce)
{
    const struct {
        const char* model;
        int contrast, brightness;
        std::string rest;  // after the common beginning
    } cases[] = {
        {"LCD2041", 50, 50, "FE 50 7F FE 58"},        {"VK204", 50, 60, "FE 59 02 FE 55 08 FE 58"},
        {"LK204", 0, 100, "FE 50 00 FE 55 08 FE 58"}, {"VFD2041", 100, 0, "FE 59 00 FE 58"},
        {"nonesuch", 100, 100, "FE 50 FF FE 58"},
    };
    for (const auto& c : cases) {
        auto d = Make(c.model);
        ASSERT_TRUE(d->SetContrast(c.contrast));
        ASSERT_TRUE(d->SetBrightness(c.brightness));
        EXPECT_EQ(OpenedWith(*d), kOpening + " " + c.rest) << c.model;
    }
}

TEST_F(Heron, ScalesContrastToAByteAndBrightnessToFourLevels)
{
    const struct {
        int percent;
        unsigned char contrast, level;
    } cases[] = {
        {0, 0, 0},    {25, 63, 0},  {26, 66, 1},  {50, 127, 1},  {51, 130, 2},
        {75, 191, 2}, {76, 193, 3}, {99, 252, 3}, {100, 255, 3},
    };
    auto lcd = Make("LCD2041");
    auto vfd = Make("VFD2041");
    for (const auto& c : cases) {
        ASSERT_TRUE(lcd->SetContrast(c.percent));
        ASSERT_TRUE(vfd->SetBrightness(c.percent));
        EXPECT_EQ(OpenedWith(*lcd), kOpening + " FE 50 " + Hex({c.contrast}) + " FE 58") << c.percent << "%";
        EXPECT_EQ(OpenedWith(*vfd), kOpening + " FE 59 " + Hex({c.level}) + " FE 58") << c.percent << "%";
    }
}

// The debounce byte is the time in steps of 6.554 ms, to the nearest step and
// halves upward, checked against integer arithmetic over every time that fits
// a byte; beyond that only the low eight bits go out.
TEST_F(Heron, SendsTheDebounceTimeInStepsOfTheKeypad)
{
    auto d = Make("VK204");
    HKEY key = DisplayDevice::GetSettingsKey();
    ASSERT_NE(key, nullptr);
    auto debounceByte = [&](int ms) {
        EXPECT_TRUE(DisplayDevice::SetSettingInt(key, "DebounceTime", ms));
        HeronAccess::LoadSettings(*d, key);
        const std::string sent = OpenedWith(*d);
        const size_t at = sent.find("FE 55 ");
        return at == std::string::npos ? std::string("none") : sent.substr(at + 6, 2);
    };
    const struct {
        int ms;
        unsigned char steps;
    } cases[] = {{3, 0}, {4, 1}, {52, 8}, {100, 15}, {1000, 153}, {1674, 255}, {1675, 0}, {1688, 2}};
    for (const auto& c : cases) EXPECT_EQ(debounceByte(c.ms), Hex({c.steps})) << c.ms << " ms";
    for (int ms = 0; ms <= 1674; ++ms) {
        const int steps = (2 * 1000 * ms + 6554) / (2 * 6554);  // round half up of ms / 6.554
        ASSERT_EQ(debounceByte(ms), Hex({static_cast<unsigned char>(steps)})) << ms << " ms";
    }
    DisplayDevice::CloseSettingsKey(key);
}

TEST_F(Heron, OpensAfreshEachTimeAndClosesDark)
{
    auto d = Make("LK204");
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(d->Open());
        ASSERT_TRUE(d->ClearText());
        d->Close();
    }
    const std::string once = kOpening + " FE 50 7F FE 55 08 FE 58|FE 58|FE 58 FE 46";
    std::string sent;
    for (const Bytes& write : port.Writes()) sent.append(sent.empty() ? "" : "|").append(Hex(write));
    EXPECT_EQ(sent, once + "|" + once);
    // The port was released: nothing more reaches it.
    DeviceAccess::Write(*d, 0, 0, {65}, 1);
    EXPECT_EQ(port.Writes().size(), 6u);
}

TEST_F(Heron, AnUnopenablePortSendsNothingAndFails)
{
    auto d = Make("LK204");
    ASSERT_TRUE(d->SetPortName("nowhere"));
    EXPECT_EQ(DeviceAccess::Open(*d), 0);
    EXPECT_FALSE(d->Open());
    EXPECT_FALSE(d->StartInput());
    EXPECT_FALSE(d->IsOpen());
    EXPECT_TRUE(port.Writes().empty());
}

// ---- Text, characters, outputs ---------------------------------------------------

TEST_F(Heron, PutsTheCursorBeforeEveryText)
{
    const struct {
        int row, column;
        Bytes text;
        int length;
        std::string sent;
    } cases[] = {
        {0, 0, {72, 105}, 2, "FE 48 48 69"},        // home
        {1, 5, {72, 105}, 2, "FE 47 06 02 48 69"},  // column, then row, from 1
        {0, 3, {}, 0, "FE 47 04 01"},
        {0, 0, {}, 0, "FE 48"},
        {2, 0, {65}, -1, "FE 47 01 03"},
        {3, 39, {88}, 1, "FE 47 28 04 58"},
        {0, 255, {88}, 1, "FE 47 00 01 58"},  // the position bytes wrap at 256
    };
    auto d = Opened("LK404");
    for (const auto& c : cases) {
        port.Forget();
        DeviceAccess::Write(*d, c.row, c.column, c.text, c.length);
        ASSERT_EQ(port.Writes().size(), 1u) << c.sent;
        EXPECT_EQ(Hex(port.Writes()[0]), c.sent);
    }
}

// The cursor command leaves 124 bytes of the 128-byte buffer for text (126
// after cursor home); more goes out in further writes of text alone, which
// the display writes on from its cursor: nothing overflows, nothing is lost.
TEST_F(Heron, LongTextContinuesInFurtherWrites)
{
    const struct {
        int row, column, length;
        std::vector<size_t> writes;
    } cases[] = {
        {1, 0, 124, {128}},    {1, 0, 125, {128, 1}},       {0, 0, 126, {128}},
        {0, 0, 127, {128, 1}}, {3, 2, 300, {128, 128, 48}},
    };
    auto d = Opened("LK204");
    for (const auto& c : cases) {
        Bytes text(c.length);
        for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<unsigned char>('A' + i % 26);
        port.Forget();
        DeviceAccess::Write(*d, c.row, c.column, text, c.length);
        std::vector<size_t> sizes;
        for (const Bytes& write : port.Writes()) sizes.push_back(write.size());
        EXPECT_EQ(sizes, c.writes) << c.length << " bytes";
        const Bytes all = port.AllBytes();
        const size_t command = c.row == 0 && c.column == 0 ? 2 : 4;
        EXPECT_EQ(Bytes(all.begin() + command, all.end()), text) << c.length << " bytes";
    }
}

TEST_F(Heron, DefinesCustomCharactersInOneWrite)
{
    const unsigned char bitmap[8] = {0x04, 0x0E, 0x1F, 0x0E, 0x04, 0x00, 0xFF, 0xE0};
    const struct {
        int index;
        std::string sent;
    } cases[] = {
        {0, "FE 4E 00 04 0E 1F 0E 04 00 FF E0"},
        {7, "FE 4E 07 04 0E 1F 0E 04 00 FF E0"},
        {200, "FE 4E C8 04 0E 1F 0E 04 00 FF E0"},  // as given: no range test, no masking
        {-1, "FE 4E FF 04 0E 1F 0E 04 00 FF E0"},
    };
    auto d = Opened("LCD2041");
    for (const auto& c : cases) {
        port.Forget();
        DeviceAccess::SetCustomChar(*d, c.index, bitmap);
        ASSERT_EQ(port.Writes().size(), 1u);
        EXPECT_EQ(Hex(port.Writes()[0]), c.sent);
    }
}

TEST_F(Heron, SwitchesOutputsByTheNumberItIsGiven)
{
    const struct {
        const char* model;
        int gpo, on;
        std::string sent;
    } cases[] = {
        {"LK202", 3, 1, "FE 57 03"},   {"LK202", 3, 0, "FE 56 03"}, {"LCD2041", 1, 1, "FE 57 01"},
        {"LK402", 7, 5, "FE 57 07"},   {"LK204", 9, 1, "FE 57 09"},  // not compared with the count
        {"LK204", 260, 0, "FE 56 04"}, {"nonesuch", 1, 1, "FE 57"},  // a model without outputs: no number
    };
    for (const auto& c : cases) {
        auto d = Opened(c.model);
        HeronAccess::SetGPO(*d, c.gpo, c.on);
        ASSERT_EQ(port.Writes().size(), 1u) << c.sent;
        EXPECT_EQ(Hex(port.Writes()[0]), c.sent) << c.model;
        d->Close();
    }
}

// ---- Keypad ------------------------------------------------------------------------

TEST_F(Heron, EveryReceivedByteBecomesAnEvent)
{
    auto d = Make("LK204");
    TakeEvents();
    // Input opens a closed display first.
    ASSERT_TRUE(d->StartInput()) << d->GetLastError();
    EXPECT_TRUE(d->IsOpen());
    EXPECT_EQ(Hex(port.AllBytes()), kOpening + " FE 50 7F FE 55 08 FE 58");
    port.Receive({65, 0, 'Y', 0xFE, 0xFF});
    d->Service();
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"A", "", "Y", "\xFE", "\xFF"}));

    // Stopping input leaves the port open and the bytes unread.
    ASSERT_TRUE(d->StopInput());
    port.Receive({66});
    d->Service();
    EXPECT_TRUE(TakeEvents().empty());
    port.Forget();
    ASSERT_TRUE(d->WriteText(0, 0, "x", 1));
    EXPECT_EQ(port.Writes().size(), 1u);
}

// Input does not depend on the model's keypad: a byte received is reported.
TEST_F(Heron, InputWorksOnModelsWithoutAKeypad)
{
    auto d = Opened("LCD2041");
    TakeEvents();
    ASSERT_TRUE(d->StartInput());
    EXPECT_TRUE(port.Writes().empty());  // already open: no second opening
    port.Receive({'Q'});
    d->Service();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"Q"});
}

// ---- Settings ----------------------------------------------------------------------

TEST_F(Heron, KeypadModelsLoadAndSaveTheirDebounceTime)
{
    StoreDebounce(100);
    auto d = Make("LK204");
    ASSERT_TRUE(d->LoadSettings());
    EXPECT_EQ(OpenedWith(*d), kOpening + " FE 50 7F FE 55 0F FE 58");

    IsolatedProfile("heron-fresh");
    auto fresh = Make("VK202");
    ASSERT_TRUE(fresh->LoadSettings());  // nothing stored: the default of 52 ms stands
    EXPECT_EQ(OpenedWith(*fresh), kOpening + " FE 59 01 FE 55 08 FE 58");
    ASSERT_TRUE(fresh->SaveSettings());
    EXPECT_EQ(StoredDebounce(-1), 52);
}

TEST_F(Heron, ModelsWithoutAKeypadLeaveTheSettingsAlone)
{
    for (const char* model : {"LCD2041", "VFD2021", "nonesuch"}) {
        IsolatedProfile(std::string("heron-none-") + model);
        auto d = Make(model);
        ASSERT_TRUE(d->SaveSettings());
        EXPECT_EQ(StoredDebounce(-1), -1) << model;
        StoreDebounce(77);
        ASSERT_TRUE(d->LoadSettings());
        ASSERT_TRUE(d->SaveSettings());
        EXPECT_EQ(StoredDebounce(-1), 77) << model;
        EXPECT_EQ(OpenedWith(*d).find("FE 55"), std::string::npos) << model;
    }
}

// ---- The emulated display ------------------------------------------------------------

class EmulatedMatrixOrbital : public testing::Test {
protected:
    sim::MatrixOrbitalEmulator lk204{"LK204", 20, 4};

    void Feed(const Bytes& bytes) { lk204.Receive(bytes.data(), bytes.size()); }
    std::string Row(int row) const
    {
        std::string text;
        for (int column = 0; column < lk204.Columns(); ++column) text += static_cast<char>(lk204.Cell(row, column));
        return text;
    }
};

TEST_F(EmulatedMatrixOrbital, ShowsWhatTheDriverSends)
{
    LoadedDriver driver("heron");
    auto d = driver.Create("LK204");
    sim::EmulatedPort port(lk204, "sim");
    ASSERT_TRUE(d->SetPortName("sim"));
    ASSERT_TRUE(d->SetContrast(75));
    ASSERT_TRUE(d->Open());
    EXPECT_TRUE(lk204.State().backlight);
    EXPECT_FALSE(lk204.State().lineWrap);
    EXPECT_FALSE(lk204.State().autoScroll);
    EXPECT_FALSE(lk204.State().underlineCursor);
    EXPECT_FALSE(lk204.State().blinkingCursor);
    EXPECT_EQ(lk204.State().contrast, 191);
    EXPECT_EQ(lk204.State().debounce, 8);

    const unsigned char arrow[8] = {0x04, 0x0E, 0x1F, 0x04, 0x04, 0x04, 0x04, 0x00};
    ASSERT_TRUE(d->WriteText(0, 0, "Temp \\ 21", -1));
    ASSERT_TRUE(d->WriteText(3, 15, "\x03!", 2));
    ASSERT_TRUE(d->DefineCustomChar(3, arrow));
    ASSERT_TRUE(d->SetOutput(2, 1));
    ASSERT_TRUE(d->SetOutput(5, 0));
    EXPECT_EQ(Row(0), "Temp \x8C 21           ");
    EXPECT_EQ(Row(3), "               \x03!   ");
    EXPECT_EQ(lk204.Glyph(0x8C), "\\");
    ASSERT_TRUE(lk204.CustomChar(3).has_value());
    EXPECT_EQ((*lk204.CustomChar(3))[2], 0x1F);
    EXPECT_EQ(lk204.Outputs(), (std::map<int, bool>{{2, true}, {5, false}}));
    EXPECT_EQ(lk204.UnknownCommands(), 0u);

    // A key pressed reaches the program as an event.
    TakeEvents();
    ASSERT_TRUE(d->StartInput());
    lk204.SendToHost('K');
    d->Service();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"K"});

    d->Close();
    EXPECT_FALSE(lk204.State().backlight);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Row(row), std::string(20, ' '));
}

TEST_F(EmulatedMatrixOrbital, ShowsWhatItDoesNotUnderstandAndCarriesOn)
{
    const struct {
        Bytes bytes;
        std::string row0;
        unsigned long unknown;
        std::string status;  // a line the display shows, or ""
    } cases[] = {
        {{0xFE, 0x21, 'o', 'k'}, "ok", 1, "unknown commands: 1 (last FE 21)"},
        {{0xFE, 0x47, 21, 1, 'a', 0xFE, 0x47, 1, 5, 'b', 0xFE, 0x48, 'c'},
         "cb",
         0,
         "positions off the display ignored: 2"},
        {{0xFE, 0x4E, 8, 1, 2, 3, 4, 5, 6, 7, 8, 'd'}, "d", 0, "custom characters past 7 ignored: 1"},
        {{0xFE, 0x44, 0xFE, 0x47, 20, 1, 'e', 'f'},
         "                   e",
         0,
         "characters past a row's end (line-wrap off): 1"},
    };
    for (const auto& c : cases) {
        sim::MatrixOrbitalEmulator display("LK204", 20, 4);
        display.Receive(c.bytes.data(), c.bytes.size());
        std::string row0;
        for (int column = 0; column < 20; ++column) row0 += static_cast<char>(display.Cell(0, column));
        EXPECT_EQ(row0, c.row0 + std::string(20 - c.row0.size(), ' ')) << c.status;
        EXPECT_EQ(display.UnknownCommands(), c.unknown) << c.status;
        const auto lines = display.Status();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.status), lines.end()) << c.status;
    }
}

// Whatever arrives, and however it is cut into writes, the display decodes it
// without reading or writing outside itself.
TEST_F(EmulatedMatrixOrbital, TakesAnyBytes)
{
    for (int letter = 0; letter < 256; ++letter) {
        const Bytes command = {0xFE, static_cast<unsigned char>(letter), 0xFF, 0xFF, 0x00, 9, 9, 9, 9, 9, 9, 'z'};
        for (unsigned char b : command) Feed({b});
    }
    Feed(EveryByte());
    EXPECT_GT(lk204.UnknownCommands(), 0u);
    EXPECT_LT(lk204.CursorColumn(), 41);
}

TEST_F(EmulatedMatrixOrbital, WrapsAndScrollsWhenAskedTo)
{
    Feed({0xFE, 0x43, 0xFE, 0x51, 0xFE, 0x47, 20, 4});  // line-wrap and scroll on, last cell
    Feed({'1', '2', '3'});
    EXPECT_EQ(Row(2), std::string(19, ' ') + "1");
    EXPECT_EQ(Row(3), "23" + std::string(18, ' '));
    EXPECT_EQ(lk204.CursorRow(), 3);
    EXPECT_EQ(lk204.CursorColumn(), 2);
}

// ---- The program on the virtual port --------------------------------------------------

std::string RunOnTheVirtualPort(const char* model, std::vector<app::Action> actions)
{
    app::Options options;
    options.driver = "heron";
    options.model = model;
    options.port = "sim";
    options.profile = IsolatedProfile(std::string("program-") + model);
    options.actions = std::move(actions);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(app::RunProgram(options, out, err), 0);
    std::string text;
    std::rewind(out);
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    std::fclose(err);
    return text;
}

TEST(HeronProgram, InfoShowsTheModelsGeometryAndAnswers)
{
    app::Action info;
    info.kind = app::Action::Kind::Info;
    info.word = "info";
    const struct {
        const char* model;
        std::vector<std::string> lines;
    } cases[] = {
        {"LK204", {"display: 20 columns x 4 rows", "contrast: 50%", "brightness: no", "keypad: yes", "outputs: 6"}},
        {"VK204", {"display: 20 columns x 4 rows", "contrast: no", "brightness: 50%", "keypad: yes", "outputs: 6"}},
        {"LCD4041", {"display: 40 columns x 4 rows", "contrast: 50%", "brightness: no", "keypad: no", "outputs: 1"}},
        {"LK162", {"display: 16 columns x 2 rows", "contrast: 50%", "keypad: yes", "outputs: 6"}},
        {"LK402", {"display: 40 columns x 2 rows", "outputs: 7"}},
    };
    for (const auto& c : cases) {
        const std::string out = RunOnTheVirtualPort(c.model, {info});
        EXPECT_NE(out.find(std::string("Matrix Orbital ") + c.model), std::string::npos) << out;
        for (const std::string& line : c.lines)
            EXPECT_NE(out.find(line + "\n"), std::string::npos) << c.model << ": " << line << "\n" << out;
    }
}

}  // namespace
}  // namespace lumora::test
