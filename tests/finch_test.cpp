// The LCDriver bridge's calls, as our LCDriver library records them, and the
// bridge end to end through the program with the library's trace file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "CommandLine.h"
#include "Program.h"
#include "lcdriver/LCDriver.h"
#include "support/TestSupport.h"

namespace lumora::test {
namespace {

// Every call the library gets, as a line of its name and arguments with "*"
// for a pointer; the pointers themselves are kept in order beside.
class CallLog {
public:
    CallLog() { EXPECT_EQ(LCDriverVirtualObserve(OnCall, this), LCD_OK); }
    ~CallLog() { LCDriverVirtualForget(OnCall, this); }
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    const std::vector<std::string>& Lines() const { return lines_; }
    const std::vector<const unsigned char*>& Pointers() const { return pointers_; }
    void Forget()
    {
        lines_.clear();
        pointers_.clear();
    }
    // Runs at each call, as the library makes it.
    std::function<void(const LCDriverCall&)> onCall;

private:
    static void LCDRIVER_CALL OnCall(void* context, const LCDriverCall* call)
    {
        auto* log = static_cast<CallLog*>(context);
        std::string line = call->name;
        for (int32_t i = 0; i < call->argumentCount; ++i) {
            const LCDriverArgument& a = call->arguments[i];
            line += a.pointer ? " *" : " " + std::to_string(a.value);
            if (a.pointer) log->pointers_.push_back(a.bytes);
        }
        log->lines_.push_back(line);
        if (log->onCall) log->onCall(*call);
    }

    std::vector<std::string> lines_;
    std::vector<const unsigned char*> pointers_;
};

using Lines = std::vector<std::string>;
const Lines kOpening = {"lcdRequest", "lcdSetCursor 0", "lcdSetWrapMode 0 0", "lcdClearDisplay"};

// Leaves the library as every test expects to find it: configured by the
// defaults and not requested.
void FreeTheDisplay()
{
    LCDriverVirtualState state{};
    LCDriverVirtualGetState(&state);
    if (state.requested) lcdFree();
}

class Finch : public testing::Test {
protected:
    void SetUp() override
    {
        FreeTheDisplay();
        device = driver.Create();
        ASSERT_NE(device, nullptr);
        log.Forget();
    }
    void TearDown() override
    {
        if (device) device->Close();
        FreeTheDisplay();
    }

    ScopedEnvironment size{"LCDRIVER_SIZE", nullptr};
    ScopedEnvironment busy{"LCDRIVER_BUSY", nullptr};
    ScopedEnvironment trace{"LCDRIVER_TRACE", nullptr};
    LoadedDriver driver{"finch"};
    CallLog log;
    std::unique_ptr<DisplayDevice> device;
};

TEST_F(Finch, TakesItsGeometryFromLCDriverAndNothingFromItsArguments)
{
    const struct {
        const char* configured;
        int columns;
        int rows;
    } cases[] = {{nullptr, 20, 4}, {"40x2", 40, 2}, {"16x1", 16, 1}, {"garbage", 0, 0}};
    int anything = 0;
    for (const auto& c : cases) {
        size.Set(c.configured);
        for (const char* model : {static_cast<const char*>(nullptr), "LK204"}) {
            for (HWND parent : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(&anything)}) {
                log.Forget();
                auto d = driver.Create(model, parent);
                ASSERT_NE(d, nullptr);
                EXPECT_EQ(log.Lines(), (Lines{"lcdGetWidth", "lcdGetHeight"}));
                EXPECT_EQ(d->GetWidth(), c.columns) << (c.configured ? c.configured : "default");
                EXPECT_EQ(d->GetHeight(), c.rows) << (c.configured ? c.configured : "default");
                EXPECT_STREQ(d->GetPortName(), "");  // no port: LCDriver owns the hardware
                EXPECT_EQ(d->HasSetSize(), 0);
            }
        }
    }
}

TEST_F(Finch, AChangedGeometryIsSeenOnlyByANewObject)
{
    size.Set("40x2");
    ASSERT_TRUE(device->Open());
    device->Close();
    EXPECT_EQ(device->GetWidth(), 20);
    EXPECT_EQ(device->GetHeight(), 4);
    for (const std::string& line : log.Lines()) EXPECT_EQ(line.rfind("lcdGet", 0), std::string::npos) << line;
    auto later = driver.Create();
    EXPECT_EQ(later->GetWidth(), 40);
    EXPECT_EQ(later->GetHeight(), 2);
}

TEST_F(Finch, OpensWithTheInitialCallsOrStopsAtAFailedRequest)
{
    EXPECT_EQ(DeviceAccess::Open(*device), 1);
    DeviceAccess::Close(*device);
    EXPECT_EQ(DeviceAccess::Open(*device), 1);  // requested afresh, with the whole sequence
    Lines twice = kOpening;
    twice.push_back("lcdFree");
    twice.insert(twice.end(), kOpening.begin(), kOpening.end());
    EXPECT_EQ(log.Lines(), twice);
    DeviceAccess::Close(*device);

    busy.Set("1");
    log.Forget();
    EXPECT_EQ(DeviceAccess::Open(*device), 0);
    EXPECT_FALSE(device->Open());
    EXPECT_EQ(log.Lines(), (Lines{"lcdRequest", "lcdRequest"}));
}

TEST_F(Finch, PassesWritesOnAsTheyCome)
{
    const struct {
        int row;
        int column;
        Bytes text;
        int length;
        Lines calls;
    } cases[] = {
        {1, 4, {'H', 'e', 'l', 'l', 'o', '!'}, 6, {"lcdSetCursorPos 4 1", "lcdSendString * 6"}},
        {0, 0, {}, 0, {"lcdSetCursorPos 0 0", "lcdSendString * 0"}},
        {3, 2, {'x'}, -3, {"lcdSetCursorPos 2 3", "lcdSendString * -3"}},
        {9, 99, {0x00, 0xFE}, 2, {"lcdSetCursorPos 99 9", "lcdSendString * 2"}},  // no checks on the way
    };
    ASSERT_EQ(DeviceAccess::Open(*device), 1);
    for (const auto& c : cases) {
        log.Forget();
        DeviceAccess::Write(*device, c.row, c.column, c.text, c.length);
        EXPECT_EQ(log.Lines(), c.calls) << "row " << c.row << " column " << c.column;
        ASSERT_EQ(log.Pointers().size(), 1u);
        EXPECT_EQ(log.Pointers()[0], c.text.data()) << "the host's own text, not a copy";
    }
}

TEST_F(Finch, PassesCustomCharactersOnAsTheyCome)
{
    const unsigned char bitmap[8] = {0x0E, 0x11, 0x11, 0x11, 0x0E, 0x04, 0x1F, 0x00};
    ASSERT_EQ(DeviceAccess::Open(*device), 1);
    for (int index : {0, 7, -1, 9}) {
        log.Forget();
        DeviceAccess::SetCustomChar(*device, index, bitmap);
        EXPECT_EQ(log.Lines(), Lines{"lcdSetCustomChar " + std::to_string(index) + " *"});
        EXPECT_EQ(log.Pointers(), std::vector<const unsigned char*>{bitmap});
    }
}

TEST_F(Finch, EachOperationMakesItsOneCall)
{
    const struct {
        const char* operation;
        std::function<void(DisplayDevice&)> run;
        Lines calls;
    } cases[] = {
        {"close", DeviceAccess::Close, {"lcdFree"}},
        {"clear", DeviceAccess::Clear, {"lcdClearDisplay"}},
        {"delete", [this](DisplayDevice&) { device.reset(); }, {}},
    };
    for (const auto& c : cases) {
        device = driver.Create();
        ASSERT_EQ(DeviceAccess::Open(*device), 1);
        log.Forget();
        c.run(*device);
        EXPECT_EQ(log.Lines(), c.calls) << c.operation;
        FreeTheDisplay();
    }
}

TEST_F(Finch, GivesLCDriverTheMarqueeDelayIn96thsOfASecond)
{
    const struct {
        int ms;
        int ticks;
    } cases[] = {{250, 24}, {100, 9}, {1000, 96}, {10, 0}, {1, 0}, {2000000000, 192000000}};
    ASSERT_TRUE(device->Open());
    for (const auto& c : cases) {
        log.Forget();
        ASSERT_TRUE(device->StartMarquee(2, 3, c.ms, "News", 4));
        EXPECT_EQ(log.Lines(), Lines{"lcdEnableMarquee * 4 2 3 " + std::to_string(c.ticks)}) << c.ms << " ms";
        ASSERT_EQ(log.Pointers().size(), 1u);
        EXPECT_EQ(std::memcmp(log.Pointers()[0], "News", 4), 0);
    }
}

// LCDriver runs the marquee: the host's row says 0xFE before LCDriver is told,
// and still does after the marquee stops.
TEST_F(Finch, LCDriversMarqueeTakesOverTheRowOfTheScreen)
{
    ASSERT_TRUE(device->Open());
    ASSERT_TRUE(device->WriteText(1, 0, "Above", 5));
    ASSERT_TRUE(device->WriteText(2, 0, "Mine", 4));
    const std::string filled(20, '\xFE');
    std::string rowAtTheCall;
    log.onCall = [&](const LCDriverCall& call) {
        if (std::strcmp(call.name, "lcdEnableMarquee") == 0)
            rowAtTheCall.assign(reinterpret_cast<const char*>(device->GetScreen()) + 40, 20);
    };
    log.Forget();
    ASSERT_TRUE(device->StartMarquee(2, 1, 250, "Breaking news", 13));
    ASSERT_TRUE(device->StopMarquee());
    EXPECT_EQ(log.Lines(), (Lines{"lcdEnableMarquee * 13 2 1 24", "lcdDisableMarquee"}));
    EXPECT_EQ(rowAtTheCall, filled);
    const std::string screen(reinterpret_cast<const char*>(device->GetScreen()), 80);
    EXPECT_EQ(screen.substr(40, 20), filled);
    EXPECT_EQ(screen.substr(20, 20), "Above               ");
    EXPECT_EQ(screen.substr(60, 20), std::string(20, ' '));
}

// The host runs the marquee: LCDriver gets only the host's frames as text,
// and the screen row holds the frame.
TEST_F(Finch, TheSimulatedMarqueeLeavesTheScreenToTheHost)
{
    IsolatedProfile("finch-simulated");
    HKEY key = DisplayDevice::GetSettingsKey();
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(DisplayDevice::SetSettingBool(key, "MarqueeSimulated", 1));
    DisplayDevice::CloseSettingsKey(key);
    ASSERT_TRUE(device->LoadSettings());
    ASSERT_TRUE(device->Open());
    log.Forget();

    ASSERT_TRUE(device->StartMarquee(2, 1, 250, "Breaking news", 13));
    EXPECT_EQ(log.Lines(), (Lines{"lcdSetCursorPos 0 2", "lcdSendString * 20"}));
    EXPECT_EQ(device->GetMarqueeRow(), 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(device->GetScreen()) + 40, 20), "Breaking news       ");
    log.Forget();
    ASSERT_TRUE(device->StopMarquee());
    EXPECT_EQ(log.Lines(), Lines{});
    EXPECT_EQ(device->GetMarqueeRow(), -1);
}

TEST_F(Finch, KeepsMarqueeSimulatedInTheSettings)
{
    const struct {
        std::optional<int> stored;
        bool simulated;
    } cases[] = {{std::nullopt, false}, {1, true}, {0, false}};
    int round = 0;
    for (const auto& c : cases) {
        IsolatedProfile("finch-setting-" + std::to_string(round++));
        if (c.stored) {
            HKEY key = DisplayDevice::GetSettingsKey();
            DisplayDevice::SetSettingBool(key, "MarqueeSimulated", *c.stored);
            DisplayDevice::CloseSettingsKey(key);
        }
        auto d = driver.Create();
        ASSERT_TRUE(d->LoadSettings());
        ASSERT_TRUE(d->Open());
        log.Forget();
        ASSERT_TRUE(d->StartMarquee(0, 1, 100, "x", 1));
        const bool toLCDriver = !log.Lines().empty() && log.Lines()[0].rfind("lcdEnableMarquee", 0) == 0;
        EXPECT_EQ(toLCDriver, !c.simulated) << "stored " << c.stored.value_or(-1);
        d->Close();

        // What was loaded is saved back: into a fresh profile, then read there.
        IsolatedProfile("finch-setting-" + std::to_string(round++));
        ASSERT_TRUE(d->SaveSettings());
        HKEY key = DisplayDevice::GetSettingsKey();
        int saved = -1;
        DisplayDevice::GetSettingBool(key, "MarqueeSimulated", saved);
        DisplayDevice::CloseSettingsKey(key);
        EXPECT_EQ(saved, c.simulated ? 1 : 0);
    }
}

TEST_F(Finch, TenThousandOpeningsLeaveNothingBehind)
{
    ExpectOpeningsLeaveNothingBehind(*device, 10000, [this] { log.Forget(); });
}

// ---- Through the program ------------------------------------------------------------

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path);  // text: a line ends in CR LF on Windows
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ReadAll(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    return text;
}

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
    std::string trace;
};

// The program's run in this process, with its own settings profile and the
// library tracing to a file.
ProgramRun RunWithTrace(const std::vector<const char*>& words, const std::string& name)
{
    const std::string profile = IsolatedProfile("finch-" + name);
    const std::filesystem::path tracePath = std::filesystem::temp_directory_path() / ("lumora-" + profile + ".trace");
    std::vector<const char*> argv{"lumora", "--profile", profile.c_str()};
    argv.insert(argv.end(), words.begin(), words.end());
    app::Options options;
    std::string error;
    EXPECT_TRUE(app::ParseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error)) << error;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ProgramRun run{};
    {
        ScopedEnvironment trace("LCDRIVER_TRACE", tracePath.string().c_str());
        run.status = app::RunProgram(options, out, err);
    }
    lcdGetWidth();  // the library lets the trace file go at its first call without one
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    std::fclose(out);
    std::fclose(err);
    run.trace = ReadText(tracePath);
    std::filesystem::remove(tracePath);
    return run;
}

TEST_F(Finch, TheProgramDrawsTheDisplayAndTheLibraryTracesEveryCall)
{
    for (const char* port : {static_cast<const char*>(nullptr), "sim"}) {
        std::vector<const char*> words{"--driver", "finch"};
        if (port) words.insert(words.end(), {"--port", port});
        words.insert(words.end(), {"write", "1", "4", "Hello!",  "char", "3", "14",  "17",   "17",   "17", "14",
                                   "0",     "0", "0", "marquee", "3",    "1", "250", "News", "wait", "20"});
        const ProgramRun run = RunWithTrace(words, port ? "sim" : "noport");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.trace,
                  "lcdGetWidth\nlcdGetHeight\nlcdRequest\nlcdSetCursor 0\nlcdSetWrapMode 0 0\nlcdClearDisplay\n"
                  "lcdSetCursorPos 4 1\nlcdSendString \"Hello!\" 6\n"
                  "lcdSetCustomChar 3 \"\\x0E\\x11\\x11\\x11\\x0E\\x00\\x00\\x00\"\n"
                  "lcdEnableMarquee \"News\" 4 3 1 24\nlcdFree\n");
        EXPECT_NE(run.out.find("LCDriver virtual display 20x4"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\xE2\x94\x82    Hello!          \xE2\x94\x82"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\xE2\x94\x82News                \xE2\x94\x82"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("marquee on row 3"), std::string::npos) << run.out;
    }
}

TEST_F(Finch, TheProgramSaysWhenLCDriverRefusesTheDisplay)
{
    busy.Set("1");
    const ProgramRun run = RunWithTrace({"--driver", "finch", "write", "0", "0", "Hi"}, "busy");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "lumora: the display could not be opened\n");
    EXPECT_EQ(run.trace, "lcdGetWidth\nlcdGetHeight\nlcdRequest\n");
}

}  // namespace
}  // namespace lumora::test
