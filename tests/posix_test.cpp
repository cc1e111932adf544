// What needs a POSIX system: real serial lines (pseudo-terminal pairs), the
// program end to end on one, and the settings file on disk.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "support/PosixSupport.h"

// While set, every new (std::nothrow) in the process fails, drivers' included:
// this program exports its operator new, which the loaded libraries bind to.
static bool failNothrowNew = false;

__attribute__((visibility("default"))) void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (failNothrowNew) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace lumora::test {
namespace {

TEST(SerialLine, CarriesEveryByteUnchangedBothWays)
{
    Pty pty;
    LineDevice device(pty.Name());
    ASSERT_TRUE(device.Open()) << device.GetLastError();
    const auto events = ExchangeEveryByte(device, [&] {
        EXPECT_EQ(Hex(pty.Read()), Hex(EveryByte()));
        pty.Send(EveryByte());
    });
    ExpectEveryByteAsEvents(events);
    device.Close();
}

// A keypad is pressed long after input starts: the idle line is not taken for
// one that hung up.
TEST(SerialLine, WaitsForBytesThatHaveNotComeYet)
{
    Pty pty;
    LineDevice device(pty.Name());
    ASSERT_TRUE(device.Open()) << device.GetLastError();
    ASSERT_TRUE(device.StartInput());
    TakeEvents();
    for (int i = 0; i < 3; ++i) device.Service();
    pty.Send({'K'});
    std::vector<std::string> events;
    for (int i = 0; i < 200 && events.empty(); ++i) {
        WaitMs(10);
        device.Service();
        events = TakeEvents();
    }
    EXPECT_EQ(events, std::vector<std::string>{"K"}) << device.GetLastError();
    device.Close();
}

TEST(SerialLine, PortsThatCannotBeOpenedSayWhy)
{
    const struct {
        const char* port;
        const char* reason;
    } cases[] = {
        {"ttyNON9", "No such file or directory"},
        {"null", "is not a serial port"},  // /dev/null opens, but is no terminal
        {"../tmp", "may not leave /dev"},
    };
    for (const auto& c : cases) {
        LineDevice device(c.port);
        EXPECT_FALSE(device.Open()) << c.port;
        EXPECT_NE(std::string(device.GetLastError()).find(c.port), std::string::npos) << device.GetLastError();
        EXPECT_NE(std::string(device.GetLastError()).find(c.reason), std::string::npos) << device.GetLastError();
    }
}

TEST(SerialLine, PloverDrivesAFutabaOnARealLine)
{
    Pty pty;
    LoadedDriver driver("plover");
    auto device = driver.Create();
    ASSERT_TRUE(device->SetPortName(pty.Name().c_str()));
    ASSERT_TRUE(device->Open()) << device->GetLastError();
    ASSERT_TRUE(device->WriteText(3, 19, "X", 1));
    device->Close();
    EXPECT_EQ(Hex(pty.Read()), "1F 10 4F 58 1F");
}

TEST(Creation, GivesNullWhenNoMemoryCanBeHad)
{
    LoadedDriver driver("plover");
    failNothrowNew = true;
    auto device = driver.Create();
    failNothrowNew = false;
    EXPECT_EQ(device, nullptr);
    EXPECT_NE(driver.Create(), nullptr);
}

// ---- The program, end to end ---------------------------------------------------

TEST(Program, DrivesPloverOnALineByteForByte)
{
    Pty pty;
    const ProgramRun run =
        RunProgram({"--driver", "plover", "--port", pty.Name(), "clear", "write", "1", "5", "Hi"}, &pty);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Hex(run.wire), "1F 1F 10 19 48 69 1F");  // open, clear, write, close
}

TEST(Program, RefusesBadRequestsWithOneLineAndSendsNothing)
{
    Pty pty;
    const std::string port = pty.Name();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string says;
    } cases[] = {
        {{"--driver", "nosuch", "--port", port, "clear"}, 1, "unknown driver 'nosuch'"},
        {{"--driver", "plover", "--port", "ttyNON9", "clear"},
         1,
         "cannot open port ttyNON9 (/dev/ttyNON9): No such file"},
        {{"--driver", "plover", "--port", "/" + port, "clear"}, 1, "without the leading \"/\""},
        {{"--driver", "plover", "--port", port, "write", "1", "x", "Hi"}, 2, "write COL must be a whole number"},
        {{"--driver", "plover", "--port", port, "clear", "blink"}, 2, "unknown action 'blink'"},
        {{"--driver", "plover", "--port", port, "clear", "write", "0", "20", "late"},
         2,
         "column 20 is past the last column of a 20x4 display"},
        {{"--driver", "plover", "--port", port, "--size", "40x2", "clear"}, 2, "size is fixed at 20x4"},
        {{"--driver", "plover", "--port", port, "--contrast", "40", "clear"}, 2, "has no contrast control"},
        {{"--driver", "plover", "--port", port, "gpo", "1", "on"}, 2, "has 0 general-purpose outputs"},
        {{"--driver", "plover", "--port", port, "input", "10"}, 1, "input: this display has no input"},
        {{"--driver", "plover", "--port", port, "--profile", "../x", "clear"}, 2, "cannot be a profile name"},
        {{"--driver", "./liblumora.so", "--port", port, "clear"}, 1, "is not a lumora driver"},
        {{"--driver", "plover", "--port", "sim", "--model", "x", "clear"}, 0, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& a : args)
            if (a == "./liblumora.so") a = std::filesystem::path(LUMORA_PROGRAM).parent_path() / "liblumora.so";
        const ProgramRun run = RunProgram(args, &pty);
        EXPECT_EQ(run.status, c.status) << c.says << "\n" << run.err;
        if (c.status == 0) continue;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << "said: " << run.err << "expected: " << c.says;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        // input fails after the display opened: the display was opened and closed, nothing else
        const std::string expected = c.says.rfind("input:", 0) == 0 ? "1F 1F" : "";
        EXPECT_EQ(Hex(run.wire), expected) << c.says;
    }
}

TEST(Program, ShowsTheEmulatedDisplayOnTheVirtualPort)
{
    const ProgramRun run = RunProgram({"--driver", "plover", "--port", "sim", "write", "2", "3", "Hello", "info"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Futaba VFD 20x4"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\xE2\x94\x82   Hello            \xE2\x94\x82"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("display: 20 columns x 4 rows"), std::string::npos) << run.out;
}

TEST(Program, StoresSettingsGivenOnTheCommandLine)
{
    const ProgramRun run = RunProgram({"--driver", "plover", "--port", "sim", "--profile", "cli-settings", "--setting",
                                       "StrobeTime=12", "--setting", "Label=two words", "clear"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string file = ReadFile(std::string(std::getenv("XDG_CONFIG_HOME")) + "/lumora/cli-settings.conf");
    EXPECT_NE(file.find("StrobeTime = 12\n"), std::string::npos) << file;
    EXPECT_NE(file.find("Label = \"two words\"\n"), std::string::npos) << file;
}

TEST(Program, HelpPrintsTheUsage)
{
    const ProgramRun run = RunProgram({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage: lumora --driver NAME|PATH", 0), 0u) << run.out;
}

// finch needs no port: its display is our LCDriver library's, drawn as the
// program runs, and the library's marquee moves while the program waits.
TEST(Program, ShowsLCDriversDisplayWithoutAPortAndTracesItsCalls)
{
    const std::string trace = std::string(std::getenv("XDG_CONFIG_HOME")) + "/finch.trace";
    ProgramRun run;
    {
        ScopedEnvironment tracing("LCDRIVER_TRACE", trace.c_str());
        run = RunProgram({"--driver", "finch", "marquee", "0", "1", "100", "Breaking news", "wait", "500"});
    }
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(trace),
              "lcdGetWidth\nlcdGetHeight\nlcdRequest\nlcdSetCursor 0\nlcdSetWrapMode 0 0\nlcdClearDisplay\n"
              "lcdEnableMarquee \"Breaking news\" 13 0 1 9\nlcdFree\n");

    // The last frame drawn: the marquee some steps on (a step every 9/96 s),
    // its row the text and its blanks turned round by as many places.
    const std::string bar = "\xE2\x94\x82";
    const std::string circle = "Breaking news       ";
    EXPECT_NE(run.out.find(bar + circle + bar), std::string::npos) << run.out;
    const size_t last = run.out.rfind("every 9/96 s, step ");
    ASSERT_NE(last, std::string::npos) << run.out;
    const int steps = std::atoi(run.out.c_str() + last + std::strlen("every 9/96 s, step "));
    EXPECT_GE(steps, 3) << run.out;
    const std::string turned = circle.substr(steps % 20) + circle.substr(0, steps % 20);
    const size_t title = run.out.rfind("LCDriver virtual display", last);
    EXPECT_LT(run.out.find(bar + turned + bar, title), last) << "step " << steps << "\n" << run.out;
}

// ---- The settings file ----------------------------------------------------------

class SettingsFileOnDisk : public testing::Test {
protected:
    void SetUp() override
    {
        profile = IsolatedProfile(testing::UnitTest::GetInstance()->current_test_info()->name());
        path = std::string(std::getenv("XDG_CONFIG_HOME")) + "/lumora/" + profile + ".conf";
    }

    int Store(const char* name, int value)
    {
        HKEY key = DisplayDevice::GetSettingsKey();
        const int ok = DisplayDevice::SetSettingInt(key, name, value);
        DisplayDevice::CloseSettingsKey(key);
        return ok;
    }

    std::string profile;
    std::string path;
};

TEST_F(SettingsFileOnDisk, IsWrittenWholeForItsOwnerAlone)
{
    ASSERT_TRUE(Store("First", 1));
    ASSERT_TRUE(Store("Second", 2));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadFile(path), "# lumora settings: NAME = number, or NAME = \"text\"\nFirst = 1\nSecond = 2\n");
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "left behind: " << entry.path();
}

TEST_F(SettingsFileOnDisk, AFailedWriteLeavesTheOldFileIntact)
{
    ASSERT_TRUE(Store("Kept", 5));
    const std::string before = ReadFile(path);
    // The temporary file cannot be created where a directory stands.
    const std::string temporary = path + ".tmp-" + std::to_string(getpid());
    ASSERT_TRUE(std::filesystem::create_directory(temporary));
    HKEY key = DisplayDevice::GetSettingsKey();
    EXPECT_FALSE(DisplayDevice::SetSettingInt(key, "Lost", 6));
    DisplayDevice::CloseSettingsKey(key);
    std::filesystem::remove(temporary);
    EXPECT_EQ(ReadFile(path), before);
}

TEST_F(SettingsFileOnDisk, ADamagedFileIsSetAsideAndTheDefaultsStand)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "RecordedNumber = 3\nthis line is not a setting\n";

    class Numbered : public LineDevice {
    public:
        Numbered() : LineDevice("nowhere") {}
        int number = 41;

    protected:
        void DeviceLoadSettings(HKEY key) override { GetSettingInt(key, "RecordedNumber", number); }
    } device;
    EXPECT_FALSE(device.LoadSettings());
    EXPECT_NE(std::string(device.GetLastError()).find("is damaged (line 2"), std::string::npos)
        << device.GetLastError();
    EXPECT_EQ(device.number, 41);
    EXPECT_EQ(ReadFile(path + ".bad"), "RecordedNumber = 3\nthis line is not a setting\n");
    EXPECT_FALSE(std::filesystem::exists(path));
}

// ---- Faults ----------------------------------------------------------------------

TEST(Faults, AnUnpluggedDisplayIsReportedOnceAndEndsTheRun)
{
    Pty pty;
    bool unplugged = false;
    // The marquee writes every 20 ms; the line goes away after the first bytes.
    const ProgramRun run = RunProgram(
        {"--driver", "plover", "--port", pty.Name(), "marquee", "0", "1", "20", "Going, going, gone", "wait", "20000"},
        &pty, [&](const ProgramRun& soFar) {
            if (!unplugged && soFar.wire.size() > 10) {
                pty.HangUp();
                unplugged = true;
            }
        });
    ASSERT_TRUE(unplugged);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("lumora: lost the display: port " + pty.Name() + ": "), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(Faults, AnUnpluggedDisplayDropsWritesQuietly)
{
    Pty pty;
    LineDevice device(pty.Name());
    ASSERT_TRUE(device.Open()) << device.GetLastError();
    EXPECT_EQ(device.GetPortFailure(), nullptr);
    pty.HangUp();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(device.WriteText(0, 0, "lost", 4));
    ASSERT_NE(device.GetPortFailure(), nullptr);
    EXPECT_NE(std::string(device.GetPortFailure()).find(pty.Name()), std::string::npos) << device.GetPortFailure();
    device.Close();
    EXPECT_EQ(device.GetPortFailure(), nullptr);
}

TEST(Faults, AFullDiskKeepsTheOldSettingsAndIsReported)
{
    const std::string profile = IsolatedProfile("full-disk");
    const std::string path = std::string(std::getenv("XDG_CONFIG_HOME")) + "/lumora/" + profile + ".conf";
    const std::string kept = "Kept=" + std::string(100, 'k');
    ASSERT_EQ(RunProgram({"--driver", "plover", "--port", "sim", "--profile", profile, "--setting", kept}).status, 0);
    const std::string before = ReadFile(path);
    ASSERT_NE(before.find("Kept"), std::string::npos);

    // No file of the program may grow past 160 bytes: the settings file cannot be written again.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 160;
    sighandler_t oldSignal = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const ProgramRun run = RunProgram(
        {"--driver", "plover", "--port", "sim", "--profile", profile, "--setting", "Lost=" + std::string(60, 'l')});
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldSignal);

    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--setting could not be stored in " + path), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(path), before);
}

TEST(Faults, ADamagedSettingsFileIsSetAsideByTheProgram)
{
    const std::string profile = IsolatedProfile("damaged");
    const std::string path = std::string(std::getenv("XDG_CONFIG_HOME")) + "/lumora/" + profile + ".conf";
    const std::string damaged[] = {"Truncated = \"no end", "Number = 12x\n", "= 3\n", std::string("Zero\0 = 1\n", 11)};
    for (const std::string& text : damaged) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
        const ProgramRun run = RunProgram({"--driver", "plover", "--port", "sim", "--profile", profile, "clear"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find("lumora: warning: "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(path + ".bad"), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(path + ".bad"), text);
    }
}

TEST(Faults, TenThousandOpeningsOfASerialLineLeaveNothingBehind)
{
    Pty pty;
    LoadedDriver plover("plover");
    auto device = plover.Create();
    ASSERT_TRUE(device->SetPortName(pty.Name().c_str()));
    ExpectOpeningsLeaveNothingBehind(*device, 10000, [&] { pty.Read(0); });
}

TEST(Faults, BytesArrivingWhileTheHostWritesEachBecomeOneEvent)
{
    Pty pty;
    LineDevice device(pty.Name());
    ASSERT_TRUE(device.Open()) << device.GetLastError();
    ASSERT_TRUE(device.StartInput());
    TakeEvents();
    // The display sends 20 rounds of every byte value while the host writes a
    // row after every service; a reader keeps the line from filling up.
    std::atomic<bool> sent{false};
    std::thread display([&] {
        for (int round = 0; round < 20; ++round) {
            pty.Send(EveryByte());
            pty.Read(1);
        }
        sent = true;
    });
    std::vector<std::string> events;
    auto collect = [&] {
        device.Service();
        for (std::string& e : TakeEvents()) events.push_back(std::move(e));
    };
    while (!sent) {
        device.WriteText(0, 0, "busy writing", 12);
        collect();
        usleep(200);
    }
    ASSERT_EQ(device.GetPortFailure(), nullptr) << device.GetPortFailure();
    display.join();
    for (int i = 0; i < 50 && events.size() < 20 * 256; ++i) {
        usleep(2000);
        collect();
    }
    ASSERT_EQ(events.size(), 20u * 256u);
    for (size_t i = 0; i < events.size(); ++i)  // byte 0 ends its event string at once
        ASSERT_EQ(events[i], std::string(i % 256 == 0 ? 0 : 1, static_cast<char>(i % 256))) << "event " << i;
    device.Close();
}

// ---- heron, end to end -----------------------------------------------------------

// Each event's line, in the order the events came, among the program's output.
void ExpectEventsInOrder(const std::string& out, const std::vector<std::string>& events)
{
    size_t at = 0;
    for (const std::string& event : events) {
        const std::string line = "event \"" + event + "\"\n";
        const size_t found = out.find(line, at);
        ASSERT_NE(found, std::string::npos) << "no " << line << "after byte " << at << " of:\n" << out;
        at = found + line.size();
    }
}

TEST(Program, PrintsTheKeysPipedToTheEmulatedKeypad)
{
    const ProgramRun run = RunProgram({"--driver", "heron", "--model", "LK204", "--port", "sim", "input", "500"},
                                      nullptr, nullptr, std::string("AY\0\xFE\xFF", 5));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Matrix Orbital LK204 20x4"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("key debounce 8 (about 52 ms)"), std::string::npos) << run.out;
    ExpectEventsInOrder(run.out, {"A", "Y", "", "\\xFE", "\\xFF"});
}

TEST(Program, PrintsTheKeysOfAMatrixOrbitalOnALine)
{
    Pty pty;
    bool pressed = false;
    const ProgramRun run = RunProgram({"--driver", "heron", "--model", "LK204", "--port", pty.Name(), "input", "1500"},
                                      &pty, [&](const ProgramRun& soFar) {
                                          // the display is open once its opening has come
                                          if (pressed || soFar.wire.size() < 19) return;
                                          pty.Send({65, 0, 0x59});
                                          pressed = true;
                                      });
    EXPECT_EQ(run.status, 0) << run.err;
    ExpectEventsInOrder(run.out, {"A", "", "Y"});
    EXPECT_EQ(Hex(run.wire), "FE 42 00 FE 44 FE 52 FE 4B FE 54 FE 50 7F FE 55 08 FE 58 FE 58 FE 46");
}

}  // namespace
}  // namespace lumora::test
