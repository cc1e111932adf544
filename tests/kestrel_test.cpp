// The Crystalfontz driver's bytes, captured at the host's serial layer, and
// what the emulated display makes of them.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "CrystalfontzEmulator.h"
#include "EmulatedPort.h"
#include "support/TestSupport.h"

namespace lumora::test {
namespace {

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The bytes t0, t1, ... of a marquee text, all printable.
Bytes Numbered(int count)
{
    Bytes text;
    for (int i = 0; i < count; ++i) text.push_back(static_cast<unsigned char>('A' + i % 26 + (i / 26) * 32));
    return text;
}

class Kestrel : public testing::Test {
protected:
    // The start-up wait is noted, with how many writes the port had seen by
    // then, instead of being slept.
    struct Wait {
        int ms;
        size_t writesBefore;
    };

    void SetUp() override { SetWaitFunction(NoteWait, this); }
    void TearDown() override { SetWaitFunction(nullptr, nullptr); }

    std::unique_ptr<DisplayDevice> Create(const char* model)
    {
        auto d = driver.Create(model);
        EXPECT_NE(d, nullptr);
        if (d) {
            EXPECT_TRUE(d->SetPortName(port.Name().c_str()));
        }
        return d;
    }

    // A display of the model, open, with the bytes of its opening forgotten.
    std::unique_ptr<DisplayDevice> Opened(const char* model = "634SG")
    {
        auto d = Create(model);
        EXPECT_TRUE(d->Open()) << d->GetLastError();
        port.Forget();
        return d;
    }

    static void NoteWait(void* self, int ms)
    {
        auto* test = static_cast<Kestrel*>(self);
        test->waits.push_back({ms, test->port.Writes().size()});
    }

    LoadedDriver driver{"kestrel"};
    CapturePort port;
    std::vector<Wait> waits;
};

TEST_F(Kestrel, TheModelGivesGeometryAndBacklight)
{
    const struct {
        const char* model;
        int width, height, backlight;
    } cases[] = {
        {"632SS", 16, 2, 0},
        {"632SG", 16, 2, 1},
        {"634SS", 20, 4, 0},
        {"634SG", 20, 4, 1},
        // No match leaves the host's 20 x 4 and no backlight.
        {"632sg", 20, 4, 0},
        {"632SG ", 20, 4, 0},
        {"632", 20, 4, 0},
        {"", 20, 4, 0},
        {nullptr, 20, 4, 0},
    };
    for (const auto& c : cases) {
        const std::string model = c.model ? c.model : "(null)";
        auto d = driver.Create(c.model);
        ASSERT_NE(d, nullptr) << model;
        EXPECT_EQ(d->GetWidth(), c.width) << model;
        EXPECT_EQ(d->GetHeight(), c.height) << model;
        EXPECT_EQ(d->HasContrast(), 1) << model;
        EXPECT_EQ(d->HasBrightness(), c.backlight) << model;
        EXPECT_EQ(d->HasBacklight(), c.backlight) << model;
        EXPECT_EQ(d->HasSetSize(), 0) << model;
        EXPECT_EQ(d->HasKeypad(), 0) << model;
        EXPECT_EQ(d->GetOutputCount(), 0) << model;
        EXPECT_EQ(d->GetPortType(), 1) << model;
        EXPECT_STREQ(d->GetPortName(), "COM1") << model;
        EXPECT_EQ(d->GetBaudRate(), 19200) << model;
    }
}

TEST_F(Kestrel, OpensAfterTheStartUpWaitInOneWrite)
{
    const struct {
        const char* model;
        int brightness, contrast;
        const char* sent;
    } cases[] = {
        {"634SG", 80, 50, "04 0E 50 0F 32 14 18 0C"},
        {"632SS", 80, 50, "04 0F 32 14 18 0C"},
        {"632SG", 0, 100, "04 0E 00 0F 64 14 18 0C"},  // percentages go out unscaled
    };
    for (const auto& c : cases) {
        auto d = Create(c.model);
        ASSERT_TRUE(d->SetBrightness(c.brightness));
        ASSERT_TRUE(d->SetContrast(c.contrast));
        port.Forget();
        waits.clear();
        ASSERT_TRUE(d->Open()) << c.model;
        ASSERT_EQ(port.Writes().size(), 1u) << c.model;
        EXPECT_EQ(Hex(port.Writes()[0]), c.sent) << c.model;
        ASSERT_EQ(waits.size(), 1u) << c.model;
        EXPECT_EQ(waits[0].ms, 1500) << c.model;
        EXPECT_EQ(waits[0].writesBefore, 0u) << c.model << ": the wait comes before the sequence";
    }
}

TEST_F(Kestrel, APortThatDoesNotOpenFailsWithoutWaitingOrSending)
{
    auto d = Create("634SG");
    ASSERT_TRUE(d->SetPortName("nowhere"));
    EXPECT_EQ(DeviceAccess::Open(*d), 0);
    EXPECT_FALSE(d->Open());
    EXPECT_TRUE(waits.empty());
    EXPECT_TRUE(port.Writes().empty());
}

TEST_F(Kestrel, OpensAfreshEachTimeAndClosingSendsNothing)
{
    auto d = Create("634SS");
    for (int round = 0; round < 2; ++round) {
        port.Forget();
        ASSERT_TRUE(d->Open());
        EXPECT_EQ(Hex(port.AllBytes()), "04 0F 32 14 18 0C") << "round " << round;
        port.Forget();
        DeviceAccess::Close(*d);
        EXPECT_TRUE(port.Writes().empty()) << "round " << round;
        // The port is released: nothing more reaches it.
        DeviceAccess::Clear(*d);
        EXPECT_TRUE(port.Writes().empty()) << "round " << round;
        d->Close();
    }
    EXPECT_EQ(waits.size(), 2u);
}

struct WriteCase {
    int row;
    int column;
    Bytes text;
    int length;
    const char* sent;
};

TEST_F(Kestrel, PositionsTheCursorAndEscapesBytesBelow32)
{
    const WriteCase cases[] = {
        {0, 0, {72, 105}, 2, "01 48 69"},  // home instead of a position
        {2, 3, {72, 105}, 2, "11 03 02 48 69"},
        {0, 5, {72}, 1, "11 05 00 48"},
        {1, 0, {5}, 1, "11 00 01 1E 01 05"},
        {1, 0, {31}, 1, "11 00 01 1E 01 1F"},
        {1, 0, {0}, 1, "11 00 01 1E 01 00"},
        {1, 0, {32}, 1, "11 00 01 20"},
        {1, 0, {200}, 1, "11 00 01 C8"},
        {1, 0, {127, 128, 255}, 3, "11 00 01 7F 80 FF"},
        {3, 19, {}, 0, "11 13 03"},
        {3, 19, {65}, -1, "11 13 03"},
        {0, 0, {}, 0, "01"},
        {256, 300, {65}, 1, "11 2C 00 41"},  // row and column go out as their low eight bits
    };
    auto d = Opened();
    for (const WriteCase& c : cases) {
        port.Forget();
        DeviceAccess::Write(*d, c.row, c.column, c.text, c.length);
        ASSERT_EQ(port.Writes().size(), 1u) << "row " << c.row << " column " << c.column;
        EXPECT_EQ(Hex(port.Writes()[0]), c.sent) << "row " << c.row << " column " << c.column;
    }
}

// Custom characters 0-7 live at 128-135 on the display: the two ranges trade
// places on their way through the character map, and 0-7 then go out escaped.
TEST_F(Kestrel, TheCharacterMapTradesCustomCharactersWith128To135)
{
    auto d = Opened();
    const char text[] = "\x00\x07\x80\x82\x87\x08\x7F\x88";
    ASSERT_TRUE(d->WriteText(0, 0, text, 8));
    EXPECT_EQ(Hex(port.AllBytes()), "01 80 87 1E 01 00 1E 01 02 1E 01 07 1E 01 08 7F 88");
}

// Any text of up to 41 bytes fits the buffer. More, with many bytes below 32,
// continues in further writes that carry on at the cursor; no escape is split
// and nothing is lost.
TEST_F(Kestrel, EscapedTextLongerThanTheBufferContinuesInFurtherWrites)
{
    auto d = Opened();
    Bytes text;
    for (int i = 0; i < 100; ++i) text.push_back(static_cast<unsigned char>(i % 4 == 3 ? 'a' + i % 26 : i % 32));
    DeviceAccess::Write(*d, 1, 2, text, static_cast<int>(text.size()));

    Bytes expected{0x11, 2, 1};
    std::set<size_t> boundaries{expected.size()};  // where a byte's form may end a write
    for (unsigned char b : text) {
        if (b < 32) expected.insert(expected.end(), {0x1E, 0x01});
        expected.push_back(b);
        boundaries.insert(expected.size());
    }
    EXPECT_EQ(Hex(port.AllBytes()), Hex(expected));
    ASSERT_GT(port.Writes().size(), 1u);
    size_t at = 0;
    for (const Bytes& write : port.Writes()) {
        EXPECT_LE(write.size(), 128u);
        at += write.size();
        EXPECT_EQ(boundaries.count(at), 1u) << "a write ends inside an escape, at byte " << at;
    }

    // Forty-one bytes below 32 still go in one write.
    port.Forget();
    DeviceAccess::Write(*d, 1, 2, Bytes(41, 1), 41);
    ASSERT_EQ(port.Writes().size(), 1u);
    EXPECT_EQ(port.Writes()[0].size(), 3u + 41u * 3u);
}

TEST_F(Kestrel, CustomCharactersClearingAndTheirBytes)
{
    auto d = Opened();
    const unsigned char bitmap[8] = {0x1F, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x1F, 0xE0};
    DeviceAccess::SetCustomChar(*d, 3, bitmap);
    DeviceAccess::SetCustomChar(*d, 259, bitmap);  // the index goes out as its low eight bits, unchecked
    DeviceAccess::Clear(*d);
    ASSERT_EQ(port.Writes().size(), 3u);
    EXPECT_EQ(Hex(port.Writes()[0]), "19 03 1F 11 0A 04 0A 11 1F E0");
    EXPECT_EQ(Hex(port.Writes()[1]), "19 03 1F 11 0A 04 0A 11 1F E0");
    EXPECT_EQ(Hex(port.Writes()[2]), "0C");
}

// The marquee block: twenty "15 p ch" triples, then "16 row step speed".
Bytes MarqueeBlock(const Bytes& chars, unsigned char row, unsigned char step, unsigned char speed)
{
    Bytes block;
    for (int p = 0; p < 20; ++p) block.insert(block.end(), {0x15, static_cast<unsigned char>(p), chars[p]});
    block.insert(block.end(), {0x16, row, step, speed});
    return block;
}

TEST_F(Kestrel, AMarqueeWritesTheRowThenLoadsAndStartsTheHardware)
{
    auto d = Opened("634SG");
    const Bytes t = Numbered(30);
    ASSERT_TRUE(d->StartMarquee(1, 1, 100, reinterpret_cast<const char*>(t.data()), 30));

    ASSERT_EQ(port.Writes().size(), 2u);
    EXPECT_EQ(Hex(port.Writes()[0]), std::string("11 00 01 ") + Hex(Bytes(t.begin(), t.begin() + 20)));
    Bytes chars(t.begin() + 20, t.end());
    chars.resize(20, ' ');
    EXPECT_EQ(Hex(port.Writes()[1]), Hex(MarqueeBlock(chars, 1, 1, 9)));
    EXPECT_EQ(port.Writes()[1].size(), 64u);
    EXPECT_EQ(Bytes(d->GetScreen() + 20, d->GetScreen() + 40), Bytes(20, 254));
    // The other rows keep what they held.
    EXPECT_EQ(Bytes(d->GetScreen(), d->GetScreen() + 20), Bytes(20, ' '));
    EXPECT_EQ(Bytes(d->GetScreen() + 40, d->GetScreen() + 80), Bytes(40, ' '));
}

TEST_F(Kestrel, ANarrowDisplayTakesMarqueeCharactersAfterItsSixteenColumns)
{
    auto d = Opened("632SS");
    const Bytes t = Numbered(40);
    ASSERT_TRUE(d->StartMarquee(0, 3, 250, reinterpret_cast<const char*>(t.data()), 40));

    ASSERT_EQ(port.Writes().size(), 2u);
    EXPECT_EQ(Hex(port.Writes()[0]), std::string("01 ") + Hex(Bytes(t.begin(), t.begin() + 16)));
    EXPECT_EQ(Hex(port.Writes()[1]), Hex(MarqueeBlock(Bytes(t.begin() + 16, t.begin() + 36), 0, 3, 24)));
    EXPECT_EQ(Bytes(d->GetScreen(), d->GetScreen() + 16), Bytes(16, 254));
}

// The text is read no further than its length: a short one leaves spaces in
// the row and among the marquee characters. Bytes below 32 are escaped in
// the row but go out as they are as marquee characters.
TEST_F(Kestrel, AMarqueeTextShorterThanTheRowIsPaddedWithSpaces)
{
    const struct {
        Bytes text;
        const char* row;
        Bytes chars;
    } cases[] = {
        {Text("Hi"), "11 00 02 48 69 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20", Bytes(20, ' ')},
        {{}, "11 00 02 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20", Bytes(20, ' ')},
        {[] {
             Bytes t = Numbered(21);
             t[0] = 10;  // below 32, and no custom character, so the character map keeps it
             t[20] = 20;
             return t;
         }(),
         "11 00 02 1E 01 0A 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 54",
         [] {
             Bytes c(20, ' ');
             c[0] = 20;
             return c;
         }()},
    };
    auto d = Opened("634SS");
    for (const auto& c : cases) {
        port.Forget();
        // The text has exactly its length in memory, so that reading past it is caught.
        auto text = std::make_unique<char[]>(c.text.size());
        if (!c.text.empty()) std::memcpy(text.get(), c.text.data(), c.text.size());
        ASSERT_TRUE(d->StartMarquee(2, 1, 1000, text.get(), static_cast<int>(c.text.size())));
        ASSERT_EQ(port.Writes().size(), 2u) << c.row;
        EXPECT_EQ(Hex(port.Writes()[0]), c.row);
        EXPECT_EQ(Hex(port.Writes()[1]), Hex(MarqueeBlock(c.chars, 2, 1, 96))) << c.row;
        EXPECT_EQ(Bytes(d->GetScreen() + 40, d->GetScreen() + 60), Bytes(20, 254));
    }
}

// The speed byte is the delay in 1/96 s, truncated, its low eight bits sent
// unclamped; starting and stopping send the same one.
TEST_F(Kestrel, MarqueeSpeedIsTheDelayIn96thsOfASecond)
{
    const struct {
        int delayMs;
        unsigned char speed;
    } cases[] = {{100, 9}, {250, 24}, {1000, 96}, {2666, 255}, {2667, 0}, {1, 0}, {30000000, 0x00}};
    auto d = Opened("634SG");
    for (const auto& c : cases) {
        port.Forget();
        ASSERT_TRUE(d->StartMarquee(3, 2, c.delayMs, "news", 4));
        ASSERT_TRUE(d->StopMarquee());
        ASSERT_EQ(port.Writes().size(), 3u) << c.delayMs << " ms";
        const Bytes& start = port.Writes()[1];
        EXPECT_EQ(Hex(Bytes(start.end() - 4, start.end())), Hex({0x16, 3, 2, c.speed})) << c.delayMs << " ms";
        EXPECT_EQ(Hex(port.Writes()[2]), Hex({0x16, 0xFF, 2, c.speed})) << c.delayMs << " ms";
    }
}

TEST_F(Kestrel, StoppingTheMarqueeSendsOnlyTheStopAndLeavesTheRow)
{
    auto d = Opened("634SG");
    ASSERT_TRUE(d->StartMarquee(1, 2, 1000, "scrolling news", -1));
    port.Forget();
    ASSERT_TRUE(d->StopMarquee());
    EXPECT_EQ(Hex(port.AllBytes()), "16 FF 02 60");
    EXPECT_EQ(Bytes(d->GetScreen() + 20, d->GetScreen() + 40), Bytes(20, 254));
}

// 30000000 ms * 96 does not fit 32 bits; the speed byte still comes from the
// true quotient (2880000 = 0x2BF200).
static_assert((30000000LL * 96 / 1000) % 256 == 0x00);

TEST(KestrelWait, OpeningWaitsAtLeastOneAndAHalfSecondsOnThePlatform)
{
    LoadedDriver driver("kestrel");
    CapturePort port;
    auto d = driver.Create("634SS");
    ASSERT_TRUE(d->SetPortName(port.Name().c_str()));
    const int64_t before = DisplayDevice::MonotonicMs();
    ASSERT_TRUE(d->Open());
    EXPECT_GE(DisplayDevice::MonotonicMs() - before, 1500);
    EXPECT_EQ(port.Writes().size(), 1u);
}

// ---- The emulated display --------------------------------------------------------

class KestrelOnTheEmulator : public Kestrel {
protected:
    void Connect(const char* model)
    {
        device = driver.Create(model);
        emulator = std::make_unique<sim::CrystalfontzEmulator>(model, device->GetWidth(), device->GetHeight());
        emulated = std::make_unique<sim::EmulatedPort>(*emulator, "emu");
        ASSERT_TRUE(device->SetPortName("emu"));
        ASSERT_TRUE(device->Open());
    }

    std::string Row(int row) const
    {
        std::string s;
        for (int c = 0; c < emulator->Columns(); ++c) s += static_cast<char>(emulator->Cell(row, c));
        return s;
    }

    std::unique_ptr<DisplayDevice> device;
    std::unique_ptr<sim::CrystalfontzEmulator> emulator;
    std::unique_ptr<sim::EmulatedPort> emulated;
};

TEST_F(KestrelOnTheEmulator, ShowsTextEscapesCustomCharactersAndLevels)
{
    ASSERT_NO_FATAL_FAILURE(Connect("634SG"));
    EXPECT_EQ(emulator->Contrast(), 50);
    EXPECT_EQ(emulator->Backlight(), 50);
    const unsigned char arrow[8] = {0x04, 0x0E, 0x1F, 0x04, 0x04, 0x04, 0x04, 0x00};
    ASSERT_TRUE(device->DefineCustomChar(3, arrow));
    EXPECT_EQ(Bytes(emulator->CustomChar(3).begin(), emulator->CustomChar(3).end()), Bytes(arrow, arrow + 8));
    ASSERT_TRUE(device->WriteText(0, 0, "Hello", 5));
    ASSERT_TRUE(device->WriteText(2, 17, "\x03\x83z", 3));  // custom character 3, both ways
    ASSERT_TRUE(device->WriteText(3, 0, "Line three is long enough", -1));

    EXPECT_EQ(Row(0), "Hello               ");
    EXPECT_EQ(emulator->Cell(2, 17), 0x83);  // the display's custom character 3
    EXPECT_EQ(emulator->Cell(2, 18), 0x03);  // the controller's, through the escape
    EXPECT_EQ(emulator->Cell(2, 19), 'z');
    for (unsigned char code : {0x83, 0x03, 0x0B})
        EXPECT_EQ(emulator->Glyph(code), "\xE2\x96\x92") << int(code);  // 11 of 40 pixels lit
    // Cells hold what the host's screen holds.
    EXPECT_EQ(Bytes(device->GetScreen(), device->GetScreen() + 80), [&] {
        Bytes cells;
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 20; ++column) cells.push_back(emulator->Cell(row, column));
        return cells;
    }());
    EXPECT_EQ(Row(3), "Line three is long e");
    ASSERT_TRUE(device->ClearText());
    EXPECT_EQ(Row(0), std::string(20, ' '));
}

TEST_F(KestrelOnTheEmulator, TheMarqueeScrollsItsRowWithTheClockUntilStopped)
{
    ASSERT_NO_FATAL_FAILURE(Connect("634SG"));
    const std::string text = "0123456789abcdefghijKLMNOPQRSTUVWXYZ!?";  // 38 bytes: 18 + 2 spaces as marquee characters
    ASSERT_TRUE(device->WriteText(0, 0, "top", 3));
    ASSERT_TRUE(device->StartMarquee(1, 1, 100, text.c_str(), -1));  // 9/96 s a step
    const std::string circle = text + "  ";                          // 40 characters round

    auto shown = [&](int offset) {
        std::string s;
        for (int c = 0; c < 20; ++c) s += circle[(offset + c) % 40];
        return s;
    };
    const struct {
        int64_t at;
        int offset;
    } frames[] = {
        {5000, 0},                     // the first tick starts the clock
        {5093, 0},                     // 9/96 s is 93.75 ms
        {5094, 1},        {5950, 10},  // 950 ms: 10.13 steps
        {5000 + 3750, 0},              // 40 steps: once round
        {5000 + 3844, 1},
    };
    for (const auto& f : frames) {
        emulator->Tick(f.at);
        EXPECT_EQ(Row(1), shown(f.offset)) << "at " << f.at;
        EXPECT_EQ(emulator->MarqueeRow(), 1);
    }
    EXPECT_EQ(Row(0), "top                 ");

    ASSERT_TRUE(device->StopMarquee());
    EXPECT_EQ(emulator->MarqueeRow(), -1);
    emulator->Tick(20000);
    EXPECT_EQ(Row(1), shown(1)) << "the row keeps the frame it showed";
}

TEST_F(KestrelOnTheEmulator, TheMarqueeMovesByItsStepAndASpeedOfZeroStandsStill)
{
    ASSERT_NO_FATAL_FAILURE(Connect("632SS"));
    const std::string text = "abcdefghijklmnopqrstuvwxyz0123456789";  // 16 + 20: a circle of 36
    ASSERT_TRUE(device->StartMarquee(0, 5, 1000, text.c_str(), -1));
    emulator->Tick(0);
    emulator->Tick(1000);
    EXPECT_EQ(Row(0), text.substr(5, 16));
    emulator->Tick(7000);  // 7 steps of 5: 35
    std::string wrapped = text.substr(35);
    wrapped += text.substr(0, 15);
    EXPECT_EQ(Row(0), wrapped);

    ASSERT_TRUE(device->StartMarquee(1, 1, 2667, text.c_str(), -1));  // speed byte 0
    emulator->Tick(8000);
    emulator->Tick(60000);
    EXPECT_EQ(Row(1), text.substr(0, 16));
}

}  // namespace
}  // namespace lumora::test
