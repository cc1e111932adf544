// The host's application interface driven by any sequence of operations, with
// any rows, columns, lengths, texts, custom characters, marquee fields and
// geometry, against each native driver and its emulated display. Nothing may
// fail, and whenever the protocol can carry what was written, the emulated
// display shows exactly the host's screen (the marquee row apart).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "EmulatedPort.h"
#include "Emulator.h"
#include "Host.h"

namespace {

struct Target {
    const char* driver;
    const char* model;
    // The lowest byte that text may hold and still be shown as itself: below
    // it lie the protocol's commands.
    unsigned char firstPlainByte;
    // The display runs the marquee itself, from its start until it is stopped,
    // whatever is cleared or reopened meanwhile.
    bool marqueeInHardware;
};

const Target kTargets[] = {
    {"plover", nullptr, 0x20, false},
    // heron: after its character map every byte is a character.
    {"heron", "LK204", 0x00, false},
    {"heron", "LCD4041", 0x00, false},
    {"heron", "VK202", 0x00, false},
    {"heron", nullptr, 0x00, false},
    {"kestrel", "634SG", 0x00, true},  // bytes below 32 travel escaped
    {"kestrel", "632SS", 0x00, true},
    // finch: LCDriver takes every byte as text, and runs the marquee itself.
    {"finch", nullptr, 0x00, true},
};

constexpr const char* kPort = "fuzz";

// Each driver is loaded once for the whole run.
struct Plugins {
    std::map<std::string, lumora::Plugin*> loaded;
    ~Plugins()
    {
        for (auto& [name, plugin] : loaded) lumora::UnloadPlugin(plugin);
    }
};

lumora::Plugin* PluginFor(const char* driver)
{
    static Plugins plugins;
    lumora::Plugin*& plugin = plugins.loaded[driver];
    if (plugin == nullptr) {
        char error[512] = {};
        plugin = lumora::LoadPlugin(driver, error, sizeof error);
        if (plugin == nullptr) {
            std::fprintf(stderr, "%s\n", error);
            std::abort();
        }
    }
    return plugin;
}

class Session {
public:
    Session(const Target& target, FuzzedDataProvider& input) : target_(target), input_(input)
    {
        device_.reset(lumora::CreatePluginDevice(PluginFor(target.driver), nullptr, target.model));
        if (!device_) std::abort();
        if (device_->HasSetSize())
            device_->SetSize(input.ConsumeIntegralInRange(-2, 44), input.ConsumeIntegralInRange(-1, 6));
        emulator_ = lumora::sim::CreateEmulator(target.driver, target.model ? target.model : "", device_->GetWidth(),
                                                device_->GetHeight());
        if (emulator_ && emulator_->ConnectsAsSerialPort()) {
            port_ = std::make_unique<lumora::sim::EmulatedPort>(*emulator_, kPort);
            device_->SetPortName(kPort);
        }
    }

    ~Session()
    {
        device_->Close();
        device_.reset();
        char event[256];
        while (lumora::NextEvent(event, sizeof event)) {
        }
    }

    void Run()
    {
        while (input_.remaining_bytes() > 0) {
            Step();
            Compare();
        }
    }

private:
    std::string Text() { return input_.ConsumeRandomLengthString(80); }
    int Small() { return input_.ConsumeIntegralInRange(-3, 45); }

    void Step()
    {
        DisplayDevice& d = *device_;
        const int op = input_.ConsumeIntegralInRange(0, 11);
        if (std::getenv("FUZZ_TRACE")) std::fprintf(stderr, "op %d\n", op);
        switch (op) {
        case 0:
            if (!d.IsOpen() && d.Open()) Trust();
            break;
        case 1: d.Close(); break;
        case 2: {
            const int row = Small(), column = Small();
            const std::string text = Text();
            const int length = input_.ConsumeIntegralInRange(-1, static_cast<int>(text.size()));
            if (d.WriteText(row, column, text.c_str(), length) && !Plain(row, column, text, length)) LoseSync();
            break;
        }
        case 3:
            if (d.ClearText()) Trust();
            break;
        case 4: {
            unsigned char bitmap[8];
            for (unsigned char& b : bitmap) b = input_.ConsumeIntegral<unsigned char>();
            d.DefineCustomChar(input_.ConsumeIntegralInRange(-1, 9), bitmap);
            break;
        }
        case 5: {
            const int row = Small(), shift = Small(), delay = input_.ConsumeIntegralInRange(-10, 3000);
            const std::string text = Text();
            if (d.StartMarquee(row, shift, delay, text.c_str(), static_cast<int>(text.size()))) {
                marqueeRows_.push_back(row);
                if (target_.marqueeInHardware) hardwareMarqueeRow_ = row;
                marqueePlain_ = true;
                for (unsigned char c : text)
                    if (c < target_.firstPlainByte) marqueePlain_ = false;
                if (!marqueePlain_) LoseSync();
            }
            break;
        }
        case 6:
            if (d.StopMarquee()) hardwareMarqueeRow_ = -1;
            break;
        case 7:
            now_ += input_.ConsumeIntegralInRange(0, 5000);
            if (emulator_) emulator_->Tick(now_);
            d.ServiceAt(now_);
            break;
        case 8: d.SetOutput(Small(), input_.ConsumeBool()); break;
        case 9:
            if (input_.ConsumeBool())
                d.StartInput();
            else
                d.StopInput();
            break;
        case 10:
            if (emulator_) emulator_->SendToHost(input_.ConsumeIntegral<unsigned char>());
            break;
        case 11:
            d.SetContrast(Small() * 3);
            d.SetBrightness(Small() * 3);
            break;
        }
    }

    // Whether the bytes the host stored for a write are all plain characters.
    bool Plain(int row, int column, const std::string& text, int length) const
    {
        const int width = device_->GetWidth();
        if (length < 0) length = static_cast<int>(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
        const int shown = std::min(length, width - column);
        const unsigned char* cell = device_->GetScreen() + row * width + column;
        for (int i = 0; i < shown; ++i)
            if (cell[i] < target_.firstPlainByte) return false;
        return true;
    }

    // Bytes below the first plain one are commands to the display: one may
    // have been left waiting for its arguments, which then swallow whatever
    // comes next, a clear included. The display is not compared again.
    void LoseSync()
    {
        trusted_ = false;
        lostSync_ = true;
    }

    // After a fresh start or a clear the display matches again, unless a
    // marquee of unplain text goes on writing or commands lost their sync.
    void Trust()
    {
        trusted_ = !lostSync_ && (device_->GetMarqueeRow() < 0 || marqueePlain_);
        marqueeRows_.clear();
        if (device_->GetMarqueeRow() >= 0) marqueeRows_.push_back(device_->GetMarqueeRow());
        if (hardwareMarqueeRow_ >= 0) marqueeRows_.push_back(hardwareMarqueeRow_);
    }

    void Compare() const
    {
        if (!emulator_ || !trusted_ || !device_->IsOpen() || device_->GetPortFailure() != nullptr) return;
        const int width = device_->GetWidth();
        const unsigned char* screen = device_->GetScreen();
        for (int row = 0; row < device_->GetHeight(); ++row) {
            if (std::find(marqueeRows_.begin(), marqueeRows_.end(), row) != marqueeRows_.end()) continue;
            for (int column = 0; column < width; ++column) {
                if (emulator_->Cell(row, column) == screen[row * width + column]) continue;
                std::fprintf(stderr, "%s: the display shows %02X at row %d, column %d; the host has %02X\n",
                             target_.driver, emulator_->Cell(row, column), row, column, screen[row * width + column]);
                std::abort();
            }
        }
    }

    const Target& target_;
    FuzzedDataProvider& input_;
    std::unique_ptr<DisplayDevice> device_;
    std::unique_ptr<lumora::sim::Emulator> emulator_;
    std::unique_ptr<lumora::sim::EmulatedPort> port_;
    bool trusted_ = false;
    bool lostSync_ = false;
    bool marqueePlain_ = true;
    std::vector<int> marqueeRows_;
    int hardwareMarqueeRow_ = -1;  // where a marquee that the display runs goes on
    int64_t now_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A driver's waits for its hardware (kestrel's start-up) pass at once.
    static const bool noWaits = (lumora::SetWaitFunction([](void*, int) {}, nullptr), true);
    (void)noWaits;
    FuzzedDataProvider input(data, size);
    const Target& target = kTargets[input.ConsumeIntegralInRange<size_t>(0, std::size(kTargets) - 1)];
    Session(target, input).Run();
    return 0;
}
