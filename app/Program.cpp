#include "Program.h"

#include <memory>
#include <string>

#include "EmulatedPort.h"
#include "Host.h"
#include "Keyboard.h"
#include "TerminalView.h"

namespace lumora::app {

namespace {

constexpr const char* kVirtualPort = "sim";
constexpr int kLoopStepMs = 10;

// The driver's name as a profile name: "plover" for plover, for
// ./build/plover.so and for C:\lumora\plover.dll.
std::string DriverBaseName(const std::string& driver)
{
    std::string name = driver.substr(driver.find_last_of("/\\") + 1);
    const size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string Printable(const std::string& event)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : event) {
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

class Run {
public:
    Run(const Options& options, std::FILE* out, std::FILE* err) : options_(options), out_(out), err_(err) {}

    ~Run()
    {
        if (device_ != nullptr) {
            device_->Close();
            delete device_;
        }
        UnloadPlugin(plugin_);
    }

    int Execute()
    {
        const std::string profile = options_.profile.value_or(DriverBaseName(options_.driver));
        if (!SetSettingsProfile(profile.c_str()))
            return Fail(2, "'" + profile + "' cannot be a profile name (letters, digits, '-', '_', '.')");
        if (int status = LoadDriver(); status != 0) return status;
        if (int status = Configure(); status != 0) return status;
        if (int status = PrepareVirtualPort(); status != 0) return status;
        if (int status = CheckActions(); status != 0) return status;
        if (int status = StoreSettings(); status != 0) return status;
        if (!device_->LoadSettings()) Warn(device_->GetLastError());

        if (!device_->Open()) return Fail(1, device_->GetLastError());
        Refresh();
        int status = 0;
        for (const Action& action : options_.actions) {
            // A display window is served between actions too; once its user
            // has closed it, nothing more is shown.
            WaitMs(0);
            if (!device_->IsOpen()) break;
            status = Perform(action);
            if (status == 0) status = CheckPort();
            if (status != 0) break;
            Refresh();
        }
        // Whatever happened, the display is closed and its settings kept.
        device_->Close();
        if (!device_->SaveSettings()) {
            const int saveStatus = Fail(1, std::string("settings not saved: ") + device_->GetLastError());
            if (status == 0) status = saveStatus;
        }
        return status;
    }

private:
    int Fail(int status, const std::string& message)
    {
        std::fprintf(err_, "lumora: %s\n", message.c_str());
        return status;
    }

    void Warn(const std::string& message) { std::fprintf(err_, "lumora: warning: %s\n", message.c_str()); }

    bool OnVirtualPort() const { return options_.port == kVirtualPort; }

    // The emulated display of the driver's kind, made for the model and size
    // the driver now has, wired to it, drawn in the terminal and fed with the
    // keys typed. Without a port, a display that the driver reaches through
    // its library (not a port) is drawn as well.
    int PrepareVirtualPort()
    {
        if (options_.port && !OnVirtualPort()) return 0;
        const std::string driver = DriverBaseName(options_.driver);
        emulator_ = sim::CreateEmulator(driver, options_.model.value_or(""), device_->GetWidth(), device_->GetHeight());
        if (!options_.port) {
            if (emulator_ && emulator_->ConnectsAsSerialPort()) emulator_.reset();
            return emulator_ ? ShowEmulator() : 0;
        }
        if (!emulator_) return Fail(2, "there is no emulated display for driver '" + driver + "'");
        if (emulator_->ConnectsAsSerialPort()) {
            port_ = std::make_unique<sim::EmulatedPort>(*emulator_, kVirtualPort);
            if (!device_->SetPortName(kVirtualPort))
                return Fail(2, "--port sim: " + std::string(device_->GetLastError()));
        }
        return ShowEmulator();
    }

    int ShowEmulator()
    {
        view_ = std::make_unique<sim::TerminalView>(*emulator_, options_.port ? "lumora --port sim" : "lumora", out_);
        keyboard_ = std::make_unique<sim::Keyboard>();
        return 0;
    }

    int LoadDriver()
    {
        char error[1024] = {};
        plugin_ = LoadPlugin(options_.driver.c_str(), error, sizeof error);
        if (plugin_ == nullptr) return Fail(1, error);
        device_ = CreatePluginDevice(plugin_, nullptr, options_.model ? options_.model->c_str() : nullptr);
        if (device_ == nullptr) return Fail(1, "the driver could not create its display object");
        return 0;
    }

    int Configure()
    {
        const std::string driver = DriverBaseName(options_.driver);
        if (options_.size) {
            if (!device_->HasSetSize()) return Fail(2, "the " + driver + " display's size is fixed at " + Geometry());
            if (!device_->SetSize(options_.size->first, options_.size->second)) return Fail(2, device_->GetLastError());
        }
        if (options_.port && !OnVirtualPort() && !device_->SetPortName(options_.port->c_str()))
            return Fail(2, "--port " + *options_.port + ": " + device_->GetLastError());
        if (options_.contrast) {
            if (!device_->HasContrast()) return Fail(2, "the " + driver + " display has no contrast control");
            device_->SetContrast(*options_.contrast);
        }
        if (options_.brightness) {
            if (!device_->HasBrightness() && !device_->HasBacklight())
                return Fail(2, "the " + driver + " display has no brightness control");
            device_->SetBrightness(*options_.brightness);
        }
        if (options_.serialOption) device_->SetSerialOption(*options_.serialOption);
        return 0;
    }

    std::string Geometry() const
    {
        return std::to_string(device_->GetWidth()) + "x" + std::to_string(device_->GetHeight());
    }

    // Every action must fit the display before anything is sent to it.
    int CheckActions()
    {
        const int width = device_->GetWidth();
        const int height = device_->GetHeight();
        for (const Action& action : options_.actions) {
            const std::string where = "action '" + action.word + "': ";
            const bool hasRow = action.kind == Action::Kind::Write || action.kind == Action::Kind::Marquee;
            if (hasRow && action.row >= height)
                return Fail(2, where + "row " + std::to_string(action.row) + " is past the last row of a " +
                                   Geometry() + " display");
            if (action.kind == Action::Kind::Write && action.column >= width)
                return Fail(2, where + "column " + std::to_string(action.column) + " is past the last column of a " +
                                   Geometry() + " display");
            if (action.kind == Action::Kind::Gpo) {
                const int outputs = device_->GetOutputCount();
                if (action.index > outputs)
                    return Fail(2, where + "this display has " + std::to_string(outputs) + " general-purpose output" +
                                       (outputs == 1 ? "" : "s"));
            }
        }
        return 0;
    }

    int StoreSettings()
    {
        if (options_.settings.empty()) return 0;
        HKEY key = DisplayDevice::GetSettingsKey();
        if (key == nullptr) return Fail(1, "the settings store could not be opened");
        bool stored = true;
        for (const Setting& setting : options_.settings) {
            if (const int* number = std::get_if<int>(&setting.value))
                stored = DisplayDevice::SetSettingInt(key, setting.name.c_str(), *number) && stored;
            else
                stored = DisplayDevice::SetSettingString(key, setting.name.c_str(),
                                                         std::get<std::string>(setting.value).c_str()) &&
                         stored;
        }
        DisplayDevice::CloseSettingsKey(key);
        char where[512] = {};
        DescribeSettingsLocation(where, sizeof where);
        return stored ? 0 : Fail(1, std::string("--setting could not be stored in ") + where);
    }

    // A port that failed (unplugged, gone) is reported once, and ends the run.
    int CheckPort()
    {
        const char* failure = device_->GetPortFailure();
        return failure == nullptr ? 0 : Fail(1, std::string("lost the display: ") + failure);
    }

    int Perform(const Action& action)
    {
        using K = Action::Kind;
        DisplayDevice& d = *device_;
        bool ok = true;
        switch (action.kind) {
        case K::Clear: ok = d.ClearText(); break;
        case K::Write:
            ok = d.WriteText(action.row, action.column, action.text.data(), static_cast<int>(action.text.size()));
            break;
        case K::Char: ok = d.DefineCustomChar(action.index, action.bitmap.data()); break;
        case K::Marquee:
            ok = d.StartMarquee(action.row, action.shift, action.ms, action.text.data(),
                                static_cast<int>(action.text.size()));
            break;
        case K::Unmarquee: ok = d.StopMarquee(); break;
        case K::Gpo: ok = d.SetOutput(action.index, action.on ? 1 : 0); break;
        case K::Wait: Keep(action.ms, false); break;
        case K::Input:
            if (!d.StartInput()) return Fail(1, "input: " + std::string(d.GetLastError()));
            Keep(action.ms, true);
            d.StopInput();
            break;
        case K::Info: PrintInfo(); break;
        }
        return ok ? 0 : Fail(1, "action '" + action.word + "': " + d.GetLastError());
    }

    // Keeps the display running for ms milliseconds: the marquee moves, input
    // arrives, and with printEvents each event is printed as it comes.
    void Keep(int ms, bool printEvents)
    {
        const int64_t end = DisplayDevice::MonotonicMs() + ms;
        for (;;) {
            PassTime();
            device_->Service();
            if (device_->GetPortFailure() != nullptr) return;
            char event[256];
            while (NextEvent(event, sizeof event))
                if (printEvents) std::fprintf(out_, "event \"%s\"\n", Printable(event).c_str());
            std::fflush(out_);
            Refresh();
            const int64_t left = end - DisplayDevice::MonotonicMs();
            if (left <= 0 || !device_->IsOpen()) return;
            WaitMs(static_cast<int>(left < kLoopStepMs ? left : kLoopStepMs));
        }
    }

    void PrintInfo()
    {
        DisplayDevice& d = *device_;
        auto yesNo = [](int v) { return v ? "yes" : "no"; };
        std::fprintf(out_, "driver: %s\n", options_.driver.c_str());
        std::fprintf(out_, "display: %d columns x %d rows\n", d.GetWidth(), d.GetHeight());
        if (*d.GetPortName() == '\0')
            std::fprintf(out_, "port: none\n");
        else if (d.GetPortType() == 2)
            std::fprintf(out_, "port: %s (parallel)\n", d.GetPortName());
        else
            std::fprintf(out_, "port: %s at %d bit/s\n", d.GetPortName(), d.GetBaudRate());
        std::fprintf(out_, "size can be set: %s\n", yesNo(d.HasSetSize()));
        std::fprintf(out_, "contrast: %s\n",
                     d.HasContrast() ? std::to_string(d.GetContrast()).append("%").c_str() : "no");
        std::fprintf(out_, "brightness: %s\n",
                     d.HasBrightness() ? std::to_string(d.GetBrightness()).append("%").c_str() : "no");
        std::fprintf(out_, "backlight: %s\n", yesNo(d.HasBacklight()));
        std::fprintf(out_, "keypad: %s\n", yesNo(d.HasKeypad()));
        std::fprintf(out_, "outputs: %d\n", d.GetOutputCount());
        char where[512] = {};
        DescribeSettingsLocation(where, sizeof where);
        std::fprintf(out_, "settings: %s\n", where);
        std::fflush(out_);
    }

    // The emulated display gets the keys typed and moves with the clock.
    void PassTime()
    {
        if (!emulator_) return;
        unsigned char keys[64];
        const size_t typed = keyboard_->Read(keys, sizeof keys);
        for (size_t i = 0; i < typed; ++i) emulator_->SendToHost(keys[i]);
        emulator_->Tick(DisplayDevice::MonotonicMs());
    }

    void Refresh()
    {
        if (view_) view_->Refresh();
    }

    const Options& options_;
    std::FILE* out_;
    std::FILE* err_;
    std::unique_ptr<sim::Emulator> emulator_;
    std::unique_ptr<sim::EmulatedPort> port_;
    std::unique_ptr<sim::TerminalView> view_;
    std::unique_ptr<sim::Keyboard> keyboard_;
    Plugin* plugin_ = nullptr;
    DisplayDevice* device_ = nullptr;
};

}  // namespace

int RunProgram(const Options& options, std::FILE* out, std::FILE* err)
{
    Run run(options, out, err);
    return run.Execute();
}

}  // namespace lumora::app
