// The parallel-port HD44780 driver, seen through DlPortIO's observer: every
// port write, decoded into the transfers an HD44780 takes from the wiring.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DlPortIO.h"
#include "HD44780Device.h"
#include "HD44780Emulator.h"
#include "Pause.h"
#include "Program.h"
#include "support/TestSupport.h"

namespace {
int64_t fakeNow = 0;
}

// The copy of the driver compiled into this program waits on a fake clock;
// the plug-in keeps the platform's sleep.
void wren::Pause(int32_t ms) { fakeNow += ms; }

namespace lumora::test {
namespace {

constexpr uint32_t kLpt1 = 0x378;
constexpr uint32_t kControl = 2;  // the control register, above the data register

struct PortWrite {
    uint32_t port;
    uint8_t value;
    int64_t at;  // on the fake clock
};

// Every port write in the process while it lives.
class PortRecorder {
public:
    PortRecorder() { EXPECT_TRUE(DlPortAddObserver(&Record, this)); }
    ~PortRecorder() { DlPortRemoveObserver(&Record, this); }
    PortRecorder(const PortRecorder&) = delete;
    PortRecorder& operator=(const PortRecorder&) = delete;

    const std::vector<PortWrite>& Writes() const { return writes_; }
    void Forget() { writes_.clear(); }

    // The writes as transfers to a port at base: "C0 38" is an instruction to
    // controller 0, "D1 41" a character to controller 1. Writes that do not
    // make a transfer (data register; control 02 or 06; the same with one
    // enable bit, 01 or 08, added) show as "?port:value".
    std::string Transfers(uint32_t base = kLpt1) const
    {
        std::string out;
        char item[24];
        for (size_t i = 0; i < writes_.size();) {
            const PortWrite* w = &writes_[i];
            const bool fits = i + 2 < writes_.size() && w[0].port == base && w[1].port == base + kControl &&
                              w[2].port == base + kControl && (w[1].value == 0x02 || w[1].value == 0x06) &&
                              (w[2].value == (w[1].value | 0x01) || w[2].value == (w[1].value | 0x08));
            if (fits) {
                std::snprintf(item, sizeof item, "%c%d %02X", w[1].value == 0x02 ? 'C' : 'D', w[2].value & 0x08 ? 1 : 0,
                              w[0].value);
                i += 3;
            } else {
                std::snprintf(item, sizeof item, "?%X:%02X", static_cast<unsigned>(w[0].port), w[0].value);
                i += 1;
            }
            out += out.empty() ? "" : " ";
            out += item;
        }
        return out;
    }

private:
    static void Record(void* context, uint32_t port, uint8_t value)
    {
        static_cast<PortRecorder*>(context)->writes_.push_back({port, value, fakeNow});
    }

    std::vector<PortWrite> writes_;
};

// "C0 38 C0 38 C0 06 C0 0C C0 01": the opening of one controller.
std::string Opening(int controller)
{
    std::string out;
    for (const char* byte : {"38", "38", "06", "0C", "01"})
        out += std::string(out.empty() ? "" : " ") + "C" + std::to_string(controller) + " " + byte;
    return out;
}

std::string Join(std::initializer_list<std::string> parts)
{
    std::string out;
    for (const std::string& p : parts)
        if (!p.empty()) out += (out.empty() ? "" : " ") + p;
    return out;
}

void StoreDelays(int strobe, int command)
{
    HKEY key = DisplayDevice::GetSettingsKey();
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(DisplayDevice::SetSettingInt(key, "ParallelStrobeDelay", strobe));
    EXPECT_TRUE(DisplayDevice::SetSettingInt(key, "ParallelCommandDelay", command));
    DisplayDevice::CloseSettingsKey(key);
}

// The plug-in, with both delays set to 0 through its settings so that the
// tests do not wait.
class Wren : public testing::Test {
protected:
    void SetUp() override
    {
        IsolatedProfile("wren");
        StoreDelays(0, 0);
        device = driver.Create();
        ASSERT_NE(device, nullptr);
        ASSERT_TRUE(device->LoadSettings());
    }

    // Opens a display of this size on LPT1 and forgets the opening.
    void OpenQuietly(int columns, int rows)
    {
        ASSERT_TRUE(device->SetSize(columns, rows));
        ASSERT_TRUE(device->Open());
        port.Forget();
    }

    std::string Sent() const { return port.Transfers(); }

    LoadedDriver driver{"wren"};
    PortRecorder port;
    std::unique_ptr<DisplayDevice> device;
};

TEST_F(Wren, CreatesTheSameDisplayWhateverItIsGiven)
{
    ForEachWayOfCreating(driver, [](DisplayDevice& d) {
        EXPECT_EQ(d.GetWidth(), 20);
        EXPECT_EQ(d.GetHeight(), 4);
        EXPECT_EQ(d.GetPortType(), 2);
        EXPECT_STREQ(d.GetPortName(), "LPT1");
        EXPECT_EQ(d.HasSetSize(), 1);
        EXPECT_EQ(d.HasContrast() + d.HasBrightness() + d.HasBacklight() + d.HasKeypad(), 0);
        EXPECT_EQ(d.GetOutputCount(), 0);
    });
    EXPECT_EQ(Sent(), "");  // neither creating nor deleting touches the port
}

TEST_F(Wren, FindsThePortByItsNameOrItsHexadecimalAddress)
{
    const struct {
        const char* name;
        uint32_t address;  // 0: no usable address, the display is not opened
    } cases[] = {
        {"LPT1", 0x378},  {"LPT2", 0x278},    {"LPT3", 0x3BC},  {"3BC", 0x3BC}, {"0x3BC", 0x3BC}, {"3BCh", 0x3BC},
        {"0X3bc", 0x3BC}, {" \t+3bc", 0x3BC}, {"FFFD", 0xFFFD}, {"lpt1", 0},    {"LPT4", 0},      {"-3BC", 0},
        {"0", 0},         {"0x", 0},          {"FFFE", 0},  // its control register would lie past 0xFFFF
        {"10000", 0},     {"FFFFFFF", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = driver.Create();
        ASSERT_TRUE(d->SetPortName(c.name));
        port.Forget();
        EXPECT_EQ(DeviceAccess::Open(*d), c.address != 0 ? 1 : 0);
        DeviceAccess::Write(*d, 1, 2, {'x'}, 1);
        if (c.address == 0) {
            EXPECT_EQ(port.Writes().size(), 0u);
            continue;
        }
        EXPECT_EQ(port.Transfers(c.address), Join({Opening(0), "C0 C2 D0 78"}));
    }
}

TEST_F(Wren, AnUnusablePortNameFailsTheOpeningWithNothingSent)
{
    ASSERT_TRUE(device->SetPortName("lpt1"));
    EXPECT_FALSE(device->Open());
    EXPECT_STREQ(device->GetLastError(), "the display could not be opened");
    EXPECT_EQ(Sent(), "");
}

TEST_F(Wren, DrivesEachTransferThroughTheDataRegisterAndTwoControlValues)
{
    OpenQuietly(40, 4);
    device->WriteText(0, 1, "A", 1);
    device->WriteText(2, 1, "B", 1);
    const std::vector<std::vector<uint8_t>> expected = {
        {0x81, 0x02, 0x03},
        {0x41, 0x06, 0x07},  // instruction and character to controller 0
        {0x81, 0x02, 0x0A},
        {0x42, 0x06, 0x0E},  // the same to controller 1
    };
    const std::vector<PortWrite>& w = port.Writes();
    ASSERT_EQ(w.size(), 12u);
    for (size_t t = 0; t < expected.size(); ++t) {
        EXPECT_EQ(w[3 * t].port, kLpt1);
        EXPECT_EQ(w[3 * t + 1].port, kLpt1 + kControl);
        EXPECT_EQ(w[3 * t + 2].port, kLpt1 + kControl);
        EXPECT_EQ(std::vector<uint8_t>({w[3 * t].value, w[3 * t + 1].value, w[3 * t + 2].value}), expected[t])
            << "transfer " << t;
    }
}

TEST_F(Wren, OpensOneControllerPer80CharactersAndNoMoreThanTwo)
{
    const struct {
        int columns;
        int rows;
        int controllers;
    } cases[] = {
        {20, 4, 1}, {20, 2, 1}, {40, 2, 1}, {16, 1, 1}, {40, 4, 2}, {24, 4, 2}, {40, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + "x" + std::to_string(c.rows));
        auto d = driver.Create();
        ASSERT_TRUE(d->LoadSettings());
        ASSERT_TRUE(d->SetSize(c.columns, c.rows));
        port.Forget();
        ASSERT_TRUE(d->Open());
        EXPECT_EQ(Sent(), Join({Opening(0), c.controllers == 2 ? Opening(1) : ""}));
        port.Forget();
        d->Close();
        EXPECT_EQ(Sent(), c.controllers == 2 ? "C0 01 C0 08 C1 01 C1 08" : "C0 01 C0 08");
    }
}

// Sets a geometry the host would refuse.
struct Geometry : DisplayDevice {
    static void Set(DisplayDevice& d, int32_t columns, int32_t rows)
    {
        d.*(&Geometry::width) = columns;
        d.*(&Geometry::height) = rows;
    }
};

// 240 characters would need a third controller, which has no enable line:
// the two that exist are driven, and the rows a third would hold are not.
TEST_F(Wren, DrivesOnlyTheTwoControllersThatExist)
{
    Geometry::Set(*device, 40, 6);
    ASSERT_EQ(DeviceAccess::Open(*device), 1);
    EXPECT_EQ(Sent(), Join({Opening(0), Opening(1)}));
    port.Forget();
    for (int32_t row = 0; row < 6; ++row) DeviceAccess::Write(*device, row, 1, {'a'}, 1);
    EXPECT_EQ(Sent(), "C0 81 D0 61 C0 C1 D0 61 C1 81 D1 61 C1 C1 D1 61");
}

TEST_F(Wren, PositionsTheTextInTheControllerThatHoldsTheRow)
{
    const struct {
        int columns;
        int rows;
        int row;
        int column;
        Bytes text;
        int length;
        std::string sent;
    } cases[] = {
        {20, 4, 0, 0, {'H', 'i'}, 2, "C0 02 D0 48 D0 69"},  // return home, not 0x80
        {20, 4, 3, 5, {'A'}, 1, "C0 D9 D0 41"},
        {20, 4, 1, 3, {'A'}, 0, "C0 C3"},  // no text: the positioning alone
        {20, 4, 1, 3, {'A'}, -1, "C0 C3"},
        {20, 4, 2, 0, {0x00, 0x7F, 0xFF}, 3, "C0 94 D0 00 D0 7F D0 FF"},  // bytes go out as given
        {40, 4, 2, 0, {'A'}, 1, "C1 02 D1 41"},
        {40, 4, 3, 0, {'A'}, 1, "C1 C0 D1 41"},
        {40, 4, 1, 39, {'A'}, 1, "C0 E7 D0 41"},
        {16, 1, 0, 10, {'A'}, 1, "C0 C2 D0 41"},
        // A 16 x 1 is two halves of eight: text that crosses column 8 is
        // positioned again there, so that none of it lands out of sight.
        {16, 1, 0, 6, {'a', 'b', 'c', 'd'}, 4, "C0 86 D0 61 D0 62 C0 C0 D0 63 D0 64"},
        {16, 1, 0, 8, {'a', 'b'}, 2, "C0 C0 D0 61 D0 62"},
        {20, 1, 0, 15, {'a', 'b'}, 2, "C0 C7 D0 61 C0 90 D0 62"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + "x" + std::to_string(c.rows) + " at " + std::to_string(c.row) + "," +
                     std::to_string(c.column));
        auto d = driver.Create();
        ASSERT_TRUE(d->LoadSettings());
        ASSERT_TRUE(d->SetSize(c.columns, c.rows));
        ASSERT_TRUE(d->Open());
        port.Forget();
        DeviceAccess::Write(*d, c.row, c.column, c.text, c.length);
        EXPECT_EQ(Sent(), c.sent);
    }
}

TEST_F(Wren, AddressesEveryRowOfEveryGeometry)
{
    struct RowStart {
        int controller;
        int address;  // of column 0
    };
    const struct {
        int columns;
        int rows;
        std::vector<RowStart> starts;
    } cases[] = {
        {16, 2, {{0, 0x00}, {0, 0x40}}},
        {20, 2, {{0, 0x00}, {0, 0x40}}},
        {24, 2, {{0, 0x00}, {0, 0x40}}},
        {40, 2, {{0, 0x00}, {0, 0x40}}},
        {16, 4, {{0, 0x00}, {0, 0x40}, {0, 0x10}, {0, 0x50}}},
        {20, 4, {{0, 0x00}, {0, 0x40}, {0, 0x14}, {0, 0x54}}},
        {40, 4, {{0, 0x00}, {0, 0x40}, {1, 0x00}, {1, 0x40}}},
        // two controllers hold two rows each, whatever the width
        {24, 4, {{0, 0x00}, {0, 0x40}, {1, 0x00}, {1, 0x40}}},
        {27, 4, {{0, 0x00}, {0, 0x40}, {1, 0x00}, {1, 0x40}}},
        {40, 3, {{0, 0x00}, {0, 0x40}, {1, 0x00}}},
    };
    char expected[32];
    for (const auto& c : cases) {
        auto d = driver.Create();
        ASSERT_TRUE(d->LoadSettings());
        ASSERT_TRUE(d->SetSize(c.columns, c.rows));
        ASSERT_TRUE(d->Open());
        for (int row = 0; row < c.rows; ++row) {
            SCOPED_TRACE(std::to_string(c.columns) + "x" + std::to_string(c.rows) + " row " + std::to_string(row));
            const RowStart& s = c.starts[row];
            for (int column : {0, 1, c.columns - 1}) {
                port.Forget();
                DeviceAccess::Write(*d, row, column, {}, 0);
                // column 0 of the first line of a controller is reached by return home
                const int instruction = s.address == 0 && column == 0 ? 0x02 : 0x80 + s.address + column;
                std::snprintf(expected, sizeof expected, "C%d %02X", s.controller, instruction);
                EXPECT_EQ(Sent(), expected) << "column " << column;
            }
        }
    }
}

TEST_F(Wren, DefinesACustomCharacterInEveryController)
{
    const unsigned char bitmap[8] = {0x1F, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0xFF};
    // The Set CGRAM address instruction and the eight rows, to one controller.
    auto definition = [&](int controller, unsigned address) {
        char text[8];
        std::snprintf(text, sizeof text, "C%d %02X", controller, address);
        std::string sent = text;
        for (unsigned char row : bitmap) {
            std::snprintf(text, sizeof text, " D%d %02X", controller, row);
            sent += text;
        }
        return sent;
    };
    const struct {
        int columns;
        int rows;
        int index;
        std::string sent;
    } cases[] = {
        {40, 4, 3, definition(0, 0x58) + " " + definition(1, 0x58)},
        {20, 4, 0, definition(0, 0x40)},
        {20, 4, 7, definition(0, 0x78)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        auto d = driver.Create();
        ASSERT_TRUE(d->LoadSettings());
        ASSERT_TRUE(d->SetSize(c.columns, c.rows));
        ASSERT_TRUE(d->Open());
        port.Forget();
        ASSERT_TRUE(d->DefineCustomChar(c.index, bitmap));
        EXPECT_EQ(Sent(), c.sent);
    }
}

TEST_F(Wren, ClearBlanksEveryControllerAndCloseAlsoSwitchesThemOff)
{
    OpenQuietly(40, 4);
    device->ClearText();
    EXPECT_EQ(Sent(), "C0 01 C1 01");
    port.Forget();
    device->Close();
    EXPECT_EQ(Sent(), "C0 01 C0 08 C1 01 C1 08");
}

TEST_F(Wren, OpensAfreshEachTimeAtTheAddressNamedThen)
{
    ASSERT_TRUE(device->Open());
    device->Close();
    ASSERT_TRUE(device->SetPortName("LPT2"));
    port.Forget();
    ASSERT_TRUE(device->Open());
    EXPECT_EQ(port.Transfers(0x278), Opening(0));
}

TEST_F(Wren, WritesNothingBeforeAnOpeningHasFoundThePort)
{
    const unsigned char bitmap[8] = {};
    auto everyOutput = [&](DisplayDevice& d) {
        DeviceAccess::Write(d, 0, 0, {'x'}, 1);
        DeviceAccess::SetCustomChar(d, 0, bitmap);
        DeviceAccess::Clear(d);
        DeviceAccess::Close(d);
    };
    everyOutput(*device);  // never opened
    EXPECT_EQ(Sent(), "");

    ASSERT_EQ(DeviceAccess::Open(*device), 1);
    ASSERT_TRUE(device->SetPortName("nowhere"));
    port.Forget();
    EXPECT_EQ(DeviceAccess::Open(*device), 0);  // a later opening that finds no port
    everyOutput(*device);
    EXPECT_EQ(Sent(), "");
}

TEST_F(Wren, KeepsTheDefaultDelaysWhenTheSettingsHaveNone)
{
    IsolatedProfile("wren-empty");
    auto d = driver.Create();
    ASSERT_TRUE(d->LoadSettings());
    ASSERT_TRUE(d->SaveSettings());
    HKEY key = DisplayDevice::GetSettingsKey();
    int strobe = -1;
    int command = -1;
    EXPECT_TRUE(DisplayDevice::GetSettingInt(key, "ParallelStrobeDelay", strobe));
    EXPECT_TRUE(DisplayDevice::GetSettingInt(key, "ParallelCommandDelay", command));
    DisplayDevice::CloseSettingsKey(key);
    EXPECT_EQ(strobe, 2);
    EXPECT_EQ(command, 5);
}

// ---- Timing: the driver compiled in, on the fake clock -------------------------

// The waits around each transfer of the writes recorded: from the first
// control value to the enable edge (the strobe), and from the edge to the
// next transfer's data (the command time).
struct Waits {
    std::vector<int64_t> strobe;
    std::vector<int64_t> command;
};

Waits WaitsOf(const std::vector<PortWrite>& w, int64_t end)
{
    Waits waits;
    for (size_t i = 0; i + 2 < w.size(); i += 3) {
        EXPECT_EQ(w[i + 1].at, w[i].at);  // the control value follows the data at once
        waits.strobe.push_back(w[i + 2].at - w[i + 1].at);
        waits.command.push_back((i + 3 < w.size() ? w[i + 3].at : end) - w[i + 2].at);
    }
    return waits;
}

TEST(WrenTiming, WaitsTheStrobeDelayBeforeEachEnableEdgeAndTheCommandDelayAfterIt)
{
    HD44780Device device;
    PortRecorder port;
    fakeNow = 0;
    ASSERT_TRUE(device.Open());
    device.WriteText(3, 2, "Hi", 2);
    const Waits waits = WaitsOf(port.Writes(), fakeNow);
    ASSERT_EQ(waits.strobe.size(), 5u + 3u);  // the opening, then position and two characters
    EXPECT_EQ(waits.strobe, std::vector<int64_t>(8, 2));
    EXPECT_EQ(waits.command, std::vector<int64_t>(8, 5));
    device.Close();
}

TEST(WrenTiming, DelaysFromTheSettingsTakeEffectFromTheNextByteAndNeverRunBackwards)
{
    const struct {
        int strobe;
        int command;
        int64_t strobeWait;
        int64_t commandWait;
    } cases[] = {
        {2, 0, 2, 0}, {0, 0, 0, 0}, {10, 1, 10, 1}, {-3, -7, 0, 0},  // negative delays wait not at all
    };
    IsolatedProfile("wren-timing");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.strobe) + " " + std::to_string(c.command));
        HD44780Device device;
        PortRecorder port;
        ASSERT_TRUE(device.Open());
        StoreDelays(c.strobe, c.command);
        ASSERT_TRUE(device.LoadSettings());  // while open
        port.Forget();
        fakeNow = 0;
        device.WriteText(0, 1, "A", 1);
        const Waits waits = WaitsOf(port.Writes(), fakeNow);
        EXPECT_EQ(waits.strobe, std::vector<int64_t>(2, c.strobeWait));
        EXPECT_EQ(waits.command, std::vector<int64_t>(2, c.commandWait));
        device.Close();
    }
}

// ---- The emulated module ---------------------------------------------------------

std::string RowOf(const sim::Emulator& e, int row)
{
    std::string text;
    for (int c = 0; c < e.Columns(); ++c) text += static_cast<char>(e.Cell(row, c));
    return text;
}

TEST(HD44780Module, TakesTheBusOnlyOnTheFallingEdgeOfAControllersEnableLine)
{
    sim::HD44780Emulator module(40, 4);
    const uint32_t control = kLpt1 + kControl;
    const struct {
        uint32_t port;
        uint8_t value;
    } writes[] = {
        {kLpt1, 0x0C},     {control, 0x02}, {control, 0x0B},  // display on to both controllers at once
        {kLpt1, 0x41},     {control, 0x06}, {control, 0x07},  // 'A' to controller 0
        {control, 0x07},   {control, 0x05},                   // no new falling edge: nothing
        {kLpt1, 0x42},     {control, 0x0E},                   // 'B' to controller 1
        {kLpt1, 0x43},     {control, 0x0E},                   // its line is still low: nothing
        {kLpt1 + 1, 0xFF}, {0x278, 0x43},                     // other ports are not wired
    };
    for (const auto& w : writes) module.PortWrite(w.port, w.value);
    EXPECT_EQ(RowOf(module, 0).substr(0, 2), "A ");
    EXPECT_EQ(RowOf(module, 2).substr(0, 2), "B ");
    EXPECT_EQ(module.Status().back(), "writes to other ports: 2");
}

TEST(HD44780Module, MovesTheAddressCounterAsTwoLineMemoryIsLaidOut)
{
    sim::HD44780Controller controller;
    for (uint8_t instruction : {0x38, 0x06, 0x0C, 0xA7}) controller.Instruction(instruction);  // address 0x27
    controller.Data('x');
    EXPECT_EQ(controller.AddressCounter(), 0x40);
    controller.Instruction(0xE7);  // 0x67, the end of the second line
    controller.Data('y');
    EXPECT_EQ(controller.AddressCounter(), 0x00);
    controller.Instruction(0x04);  // address moves down
    controller.Data('z');
    EXPECT_EQ(controller.AddressCounter(), 0x67);
    EXPECT_EQ(controller.Shown(0, 39), 'x');
    EXPECT_EQ(controller.Shown(1, 39), 'y');
    EXPECT_EQ(controller.Shown(0, 0), 'z');
    controller.Instruction(0x48);  // character 1 in CGRAM
    controller.Data(0xFF);
    EXPECT_EQ(controller.Glyph(9)[0], 0x1F);  // five pixels a row; codes 8 to 15 repeat 0 to 7
}

// ---- The program, end to end on the emulated module --------------------------------

// Runs the program on the emulated display and returns what it printed.
std::string RunLumora(std::vector<const char*> words)
{
    words.insert(words.begin(), {"lumora", "--driver", "wren", "--port", "sim", "--profile", "wren-e2e", "--setting",
                                 "ParallelStrobeDelay=0", "--setting", "ParallelCommandDelay=0"});
    app::Options options;
    std::string error;
    EXPECT_TRUE(app::ParseCommandLine(static_cast<int>(words.size()), words.data(), options, error)) << error;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(app::RunProgram(options, out, err), 0);
    std::string printed;
    std::rewind(out);
    for (int c; (c = std::fgetc(out)) != EOF;) printed += static_cast<char>(c);
    std::fclose(out);
    std::fclose(err);
    return printed;
}

TEST(WrenProgram, ShowsTheTextWhereItBelongsOnTheEmulatedModule)
{
    const char* bar = "\xE2\x94\x82";
    const struct {
        std::vector<const char*> words;
        std::vector<std::string> rows;
    } cases[] = {
        {{"--size", "16x1", "write", "0", "0", "Sixteen columns!"}, {"Sixteen columns!"}},
        {{"--size", "16x1", "write", "0", "5", "middle"}, {"     middle     "}},
        {{"--size", "16x2", "write", "0", "0", "Top", "write", "1", "4", "bottom row"},
         {"Top             ", "    bottom row  "}},
        {{"--size", "20x4", "write", "0", "1", "one", "write", "1", "0", "two", "write", "2", "17", "end", "write", "3",
          "0", "four rows of twenty!"},
         {" one                ", "two                 ", "                 end", "four rows of twenty!"}},
        {{"--size", "27x4", "write", "1", "0", "second row", "write", "2", "18", "third row"},
         {std::string(27, ' '), "second row" + std::string(17, ' '), std::string(18, ' ') + "third row",
          std::string(27, ' ')}},
        {{"--size", "40x4", "write", "0", "0", "The first of four rows on forty columns", "write", "1", "2", "second",
          "write", "2", "0", "third, on the second controller", "write", "3", "39", "4"},
         {"The first of four rows on forty columns ", "  second                                ",
          "third, on the second controller         ", "                                       4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows[0]);
        std::string framed;
        for (const std::string& row : c.rows) framed += bar + row + bar + "\n";
        const std::string printed = RunLumora(c.words);
        EXPECT_NE(printed.find(framed), std::string::npos) << printed;
    }
}

}  // namespace
}  // namespace lumora::test
