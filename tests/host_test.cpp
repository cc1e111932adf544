// The host's DisplayDevice base and its application interface, seen through a
// driver of the test's own that records what the host asks of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "support/TestSupport.h"

namespace lumora::test {
namespace {

struct Call {
    Call(std::string w, int r = 0, int c = 0, Bytes t = {}) : what(std::move(w)), row(r), column(c), text(std::move(t))
    {
    }
    std::string what;
    int row;
    int column;
    Bytes text;
};

// A serial driver that records each operation, translates 'a' to 'b' through
// charMap, and reports each received byte as an event.
class RecordingDevice : public DisplayDevice {
public:
    RecordingDevice()
    {
        charMap[static_cast<unsigned char>('a')] = 'b';
        std::strcpy(portName, "capture");
    }

    std::vector<Call> calls;
    bool openSucceeds = true;
    bool closeCallsClose = false;
    bool customCharWasStored = false;

    unsigned char* Screen() { return screen; }
    int Running() const { return GetMarqueeRow(); }

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override
    {
        calls.push_back({"write", row, column, Bytes(text, text + (length > 0 ? length : 0))});
    }
    void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) override
    {
        customCharWasStored = std::memcmp(customChars[index], bitmap, 8) == 0;
        calls.push_back({"char", index});
    }
    int32_t DeviceOpen() override
    {
        calls.push_back({"open"});
        return openSucceeds && OpenSerial(serialOption) ? 1 : 0;
    }
    void DeviceClose() override
    {
        calls.push_back({"close"});
        if (closeCallsClose) Close();  // as a window that closes the device when it is destroyed
        CloseSerial();
    }
    void DeviceClear() override { calls.push_back({"clear"}); }
    int32_t DeviceEnableInput() override { return EnableSerialInput(); }
    void DeviceDisableInput() override { DisableSerialInput(); }
    void DeviceInput(unsigned char key) override
    {
        const char event[2] = {static_cast<char>(key), 0};
        DisplaySendEvent(event);
    }
    void DeviceLoadSettings(HKEY key) override
    {
        calls.push_back({"load"});
        GetSettingInt(key, "RecordedNumber", number);
    }
    void DeviceSaveSettings(HKEY key) override
    {
        calls.push_back({"save"});
        SetSettingInt(key, "RecordedNumber", number);
    }

public:
    int number = 7;
};

std::vector<std::string> Names(const std::vector<Call>& calls)
{
    std::vector<std::string> names;
    for (const Call& c : calls) names.push_back(c.what);
    return names;
}

std::string Row(RecordingDevice& d, int row)
{
    return std::string(reinterpret_cast<const char*>(d.GetScreen()) + row * d.GetWidth(), d.GetWidth());
}

class Host : public testing::Test {
protected:
    void SetUp() override { TakeEvents(); }
    CapturePort port;
    RecordingDevice device;
};

TEST_F(Host, OpenAndCloseAlternateAndReachTheDriverOnce)
{
    EXPECT_FALSE(device.IsOpen());
    ASSERT_TRUE(device.Open());
    ASSERT_TRUE(device.Open());  // already open: the driver is not asked again
    device.Close();
    device.Close();  // already closed
    ASSERT_TRUE(device.Open());
    device.Close();
    EXPECT_EQ(Names(device.calls), (std::vector<std::string>{"open", "close", "open", "close"}));
    EXPECT_TRUE(port.Writes().empty());  // opening and closing send nothing of the host's own
}

TEST_F(Host, ANestedCloseFromTheDriverIsHarmless)
{
    device.closeCallsClose = true;
    ASSERT_TRUE(device.Open());
    device.Close();
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(Names(device.calls), (std::vector<std::string>{"open", "close"}));
}

TEST_F(Host, AFailedOpenLeavesTheDeviceClosed)
{
    device.openSucceeds = false;
    EXPECT_FALSE(device.Open());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_STRNE(device.GetLastError(), "");
    EXPECT_FALSE(device.WriteText(0, 0, "x", 1));
    device.Close();  // nothing to close
    EXPECT_EQ(Names(device.calls), std::vector<std::string>{"open"});
}

TEST_F(Host, AGeometryThatCannotBeShownIsNotOpened)
{
    for (int columns : {0, -1, 5000}) {
        DeviceAccess::SetWidth(device, columns);
        EXPECT_FALSE(device.Open()) << columns;
        EXPECT_STREQ(device.GetLastError(), "the display's geometry cannot be shown");
    }
    EXPECT_TRUE(device.calls.empty());  // the driver was never asked
}

TEST_F(Host, OpeningGivesABlankScreenOfTheGeometry)
{
    ASSERT_TRUE(device.Open());
    ASSERT_NE(device.GetScreen(), nullptr);
    for (int row = 0; row < device.GetHeight(); ++row) EXPECT_EQ(Row(device, row), std::string(20, ' '));
}

TEST_F(Host, TextIsTranslatedStoredAndClippedToItsRow)
{
    ASSERT_TRUE(device.Open());
    ASSERT_TRUE(device.WriteText(1, 15, "a cat sat", -1));
    ASSERT_EQ(device.calls.size(), 2u);
    const Call& write = device.calls[1];
    EXPECT_EQ(write.row, 1);
    EXPECT_EQ(write.column, 15);
    EXPECT_EQ(std::string(write.text.begin(), write.text.end()), "b cbt");  // five columns were left
    EXPECT_EQ(Row(device, 1), std::string(15, ' ') + "b cbt");
    EXPECT_EQ(Row(device, 2), std::string(20, ' '));  // nothing ran over into the next row
}

TEST_F(Host, RequestsOutsideTheDisplayAreRefusedBeforeTheDriver)
{
    ASSERT_TRUE(device.Open());
    const unsigned char bitmap[8] = {};
    const struct {
        const char* what;
        bool accepted;
    } cases[] = {
        {"row -1", device.WriteText(-1, 0, "x", 1) != 0},
        {"row 4", device.WriteText(4, 0, "x", 1) != 0},
        {"column 20", device.WriteText(0, 20, "x", 1) != 0},
        {"column -1", device.WriteText(0, -1, "x", 1) != 0},
        {"char 8", device.DefineCustomChar(8, bitmap) != 0},
        {"char -1", device.DefineCustomChar(-1, bitmap) != 0},
        {"marquee row 4", device.StartMarquee(4, 1, 100, "x", 1) != 0},
        {"marquee shift 0", device.StartMarquee(0, 0, 100, "x", 1) != 0},
        {"gpo on a display without outputs", device.SetOutput(1, 1) != 0},
    };
    for (const auto& c : cases) EXPECT_FALSE(c.accepted) << c.what;
    EXPECT_EQ(Names(device.calls), std::vector<std::string>{"open"});
}

TEST_F(Host, ConfigurationIsCheckedAndWaitsForTheNextOpening)
{
    EXPECT_FALSE(device.SetSize(40, 4));  // the driver keeps the default: no size to set
    EXPECT_FALSE(device.SetPortName("COM12345"));
    EXPECT_FALSE(device.SetPortName(""));
    EXPECT_FALSE(device.SetContrast(101));
    EXPECT_FALSE(device.SetBrightness(-1));
    EXPECT_TRUE(device.SetContrast(0));
    EXPECT_TRUE(device.SetBrightness(100));
    ASSERT_TRUE(device.Open());
    EXPECT_FALSE(device.SetContrast(10));  // not while open
    EXPECT_EQ(device.GetContrast(), 0);
}

TEST_F(Host, ClearingBlanksTheScreenFirst)
{
    ASSERT_TRUE(device.Open());
    ASSERT_TRUE(device.WriteText(0, 0, "hello", 5));
    ASSERT_TRUE(device.ClearText());
    EXPECT_EQ(device.calls.back().what, "clear");
    EXPECT_EQ(Row(device, 0), std::string(20, ' '));
}

TEST_F(Host, ACustomCharacterIsStoredBeforeTheDriverSeesIt)
{
    ASSERT_TRUE(device.Open());
    const unsigned char bitmap[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(device.DefineCustomChar(5, bitmap));
    EXPECT_TRUE(device.customCharWasStored);
    EXPECT_EQ(std::memcmp(device.GetCustomChar(5), bitmap, 8), 0);
}

TEST_F(Host, TheSimulatedMarqueeStepsThroughItsRow)
{
    ASSERT_TRUE(device.Open());
    ASSERT_TRUE(device.StartMarquee(2, 2, 100, "abcdefghijklmnopqrstuvwxyz", -1));
    EXPECT_EQ(device.Running(), 2);
    // The first frame shows at once, translated through charMap.
    EXPECT_EQ(Row(device, 2), "bbcdefghijklmnopqrst");
    device.calls.clear();

    device.ServiceAt(1000);  // the clock starts
    device.ServiceAt(1099);
    EXPECT_TRUE(device.calls.empty());
    device.ServiceAt(1100);
    EXPECT_EQ(Row(device, 2), "cdefghijklmnopqrstuv");
    device.ServiceAt(1200);
    EXPECT_EQ(Row(device, 2), "efghijklmnopqrstuvwx");
    // Round the circle: the text, then three blanks, then the text again.
    for (int t = 1300; t <= 2200; t += 100) device.ServiceAt(t);
    EXPECT_EQ(Row(device, 2), "yz   bbcdefghijklmno");
    ASSERT_FALSE(device.calls.empty());
    EXPECT_EQ(device.calls.back().row, 2);
    EXPECT_EQ(device.calls.back().text.size(), 20u);

    ASSERT_TRUE(device.StopMarquee());
    EXPECT_EQ(device.Running(), -1);
    device.calls.clear();
    device.ServiceAt(5000);
    EXPECT_TRUE(device.calls.empty());
}

TEST_F(Host, AMarqueeThatFallsBehindTakesOneStep)
{
    ASSERT_TRUE(device.Open());
    ASSERT_TRUE(device.StartMarquee(0, 1, 100, "0123456789", -1));
    device.ServiceAt(0);
    device.calls.clear();
    device.ServiceAt(10000);
    EXPECT_EQ(device.calls.size(), 1u);
    EXPECT_EQ(Row(device, 0), "123456789          0");
}

TEST_F(Host, AnotherMarqueeReplacesTheRunningOne)
{
    ASSERT_TRUE(device.Open());
    ASSERT_TRUE(device.StartMarquee(0, 1, 100, "first", -1));
    ASSERT_TRUE(device.StartMarquee(1, 1, 100, "second", -1));
    EXPECT_EQ(device.Running(), 1);
    EXPECT_EQ(Row(device, 1), "second" + std::string(14, ' '));
    device.ServiceAt(0);
    device.ServiceAt(100);
    EXPECT_EQ(Row(device, 0), "first" + std::string(15, ' '));  // the first stopped where it was
    EXPECT_EQ(Row(device, 1), "econd" + std::string(14, ' ') + "s");
}

TEST_F(Host, EveryReceivedByteBecomesOneEvent)
{
    ASSERT_TRUE(device.Open());
    port.Receive({'z'});  // arrived before input was enabled: not a key pressed now
    ASSERT_TRUE(device.StartInput());
    Bytes keys;
    for (int b = 1; b < 256; ++b) keys.push_back(static_cast<unsigned char>(b));
    port.Receive(keys);
    device.Service();
    const std::vector<std::string> events = TakeEvents();
    ASSERT_EQ(events.size(), 255u);
    for (int b = 1; b < 256; ++b) EXPECT_EQ(events[b - 1], std::string(1, static_cast<char>(b)));

    ASSERT_TRUE(device.StopInput());
    port.Receive({'q'});
    device.Service();
    EXPECT_TRUE(TakeEvents().empty());
}

TEST(Events, AreCopiedAndCutToTheReadersBuffer)
{
    TakeEvents();
    char text[] = "key";
    EXPECT_TRUE(DisplaySendEvent(text));
    text[0] = 'X';  // the queue holds its own copy
    EXPECT_TRUE(DisplaySendEvent(""));
    EXPECT_FALSE(DisplaySendEvent(nullptr));
    char small[3];
    ASSERT_TRUE(NextEvent(small, sizeof small));
    EXPECT_STREQ(small, "ke");
    ASSERT_TRUE(NextEvent(small, sizeof small));
    EXPECT_STREQ(small, "");
    EXPECT_FALSE(NextEvent(small, sizeof small));
}

class Settings : public testing::Test {
protected:
    void SetUp() override { profile = IsolatedProfile(testing::UnitTest::GetInstance()->current_test_info()->name()); }
    std::string profile;
};

TEST_F(Settings, ValuesRoundTripThroughTheStore)
{
    HKEY key = DisplayDevice::GetSettingsKey();
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(DisplayDevice::SetSettingInt(key, "Number", -12345));
    EXPECT_TRUE(DisplayDevice::SetSettingBool(key, "Flag", 5));
    EXPECT_TRUE(DisplayDevice::SetSettingString(key, "Text", "Courier New \"bold\" \\ \x01\xFF"));
    DisplayDevice::CloseSettingsKey(key);

    key = DisplayDevice::GetSettingsKey();  // a new key sees what the last one stored
    int number = 0;
    int flag = 0;
    char text[64] = {};
    EXPECT_TRUE(DisplayDevice::GetSettingInt(key, "Number", number));
    EXPECT_TRUE(DisplayDevice::GetSettingBool(key, "Flag", flag));
    EXPECT_TRUE(DisplayDevice::GetSettingString(key, "Text", text, sizeof text));
    DisplayDevice::CloseSettingsKey(key);
    EXPECT_EQ(number, -12345);
    EXPECT_EQ(flag, 1);
    EXPECT_STREQ(text, "Courier New \"bold\" \\ \x01\xFF");
}

TEST_F(Settings, AnAbsentOrMismatchedValueLeavesTheVariable)
{
    HKEY key = DisplayDevice::GetSettingsKey();
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(DisplayDevice::SetSettingString(key, "Word", "text"));
    ASSERT_TRUE(DisplayDevice::SetSettingInt(key, "Count", 3));
    int number = 52;
    int flag = 1;
    char text[8] = "default";
    EXPECT_FALSE(DisplayDevice::GetSettingInt(key, "Missing", number));
    EXPECT_FALSE(DisplayDevice::GetSettingBool(key, "Missing", flag));
    EXPECT_FALSE(DisplayDevice::GetSettingString(key, "Missing", text, sizeof text));
    EXPECT_FALSE(DisplayDevice::GetSettingInt(key, "Word", number));  // a string is not a number
    EXPECT_FALSE(DisplayDevice::GetSettingString(key, "Count", text, sizeof text));
    DisplayDevice::CloseSettingsKey(key);
    EXPECT_EQ(number, 52);
    EXPECT_EQ(flag, 1);
    EXPECT_STREQ(text, "default");
}

TEST_F(Settings, ALongStringIsCutAndAlwaysTerminated)
{
    HKEY key = DisplayDevice::GetSettingsKey();
    ASSERT_NE(key, nullptr);
    const std::string longText(300, 'w');
    ASSERT_TRUE(DisplayDevice::SetSettingString(key, "Long", longText.c_str()));
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_TRUE(DisplayDevice::GetSettingString(key, "Long", buffer, 10));
    DisplayDevice::CloseSettingsKey(key);
    EXPECT_EQ(std::string(buffer), std::string(9, 'w'));
    EXPECT_EQ(buffer[10], 'X');  // nothing written past the size given
}

TEST_F(Settings, TheDriverLoadsAndSavesThroughTheProfile)
{
    RecordingDevice device;
    device.number = 99;
    ASSERT_TRUE(device.SaveSettings());
    RecordingDevice fresh;
    ASSERT_TRUE(fresh.LoadSettings());
    EXPECT_EQ(fresh.number, 99);
    EXPECT_EQ(Names(fresh.calls), std::vector<std::string>{"load"});
}

TEST(Profiles, NamesThatCannotBeAFileOrKeyAreRefused)
{
    for (const char* bad : {"", "../up", "a/b", "a\\b", ".hidden", "with space"})
        EXPECT_FALSE(SetSettingsProfile(bad)) << bad;
    EXPECT_TRUE(SetSettingsProfile("heron-2.lab_1"));
}

TEST(Plugins, LoadingFailuresSayWhatIsWrong)
{
#if defined(_WIN32)
    const std::string library = "lumora.dll";  // a library, but not a driver
    const std::string text = "not-a-driver.dll";
#else
    const std::string library = "./liblumora.so";
    const std::string text = "./not-a-driver.so";
#endif
    std::ofstream(text) << "this is a text file, not a driver\n";
    const struct {
        std::string given;
        std::string says;
    } cases[] = {
        {"no-such-driver", "unknown driver 'no-such-driver'"},
        {library, library + " is not a lumora driver: it has no CreateDisplayDevice"},
        {text, "cannot load driver " + text + ": "},
    };
    for (const auto& c : cases) {
        char error[512] = {};
        EXPECT_EQ(LoadPlugin(c.given.c_str(), error, sizeof error), nullptr) << c.given;
        EXPECT_NE(std::string(error).find(c.says), std::string::npos) << "said: " << error << "\nexpected: " << c.says;
    }
    std::remove(text.c_str());
}

}  // namespace
}  // namespace lumora::test
