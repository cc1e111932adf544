#include "LCDriverEmulator.h"

#include <cstring>

namespace lumora::sim {

namespace {

#if defined(_WIN32)
constexpr const char* kLibraryFile = "lcdriver.cpl";
#else
constexpr const char* kLibraryFile = "liblcdriver.so";
#endif

const char* const kCursorModes[] = {"hidden", "underline", "block"};

std::string OnOff(int32_t value) { return value ? "on" : "off"; }

}  // namespace

std::unique_ptr<LCDriverEmulator> LCDriverEmulator::Connect()
{
    auto library = std::make_unique<SharedLibrary>(kLibraryFile);
    Functions f{};
    if (!library->Find("LCDriverVirtualObserve", f.observe) || !library->Find("LCDriverVirtualForget", f.forget) ||
        !library->Find("LCDriverVirtualGetState", f.getState) || !library->Find("LCDriverVirtualGetCells", f.getCells))
        return nullptr;
    std::unique_ptr<LCDriverEmulator> emulator(new LCDriverEmulator(std::move(library), f));
    if (!emulator->observing_) return nullptr;
    return emulator;
}

LCDriverEmulator::LCDriverEmulator(std::unique_ptr<SharedLibrary> library, const Functions& functions)
    : library_(std::move(library)), functions_(functions)
{
    observing_ = functions_.observe(OnCall, this) == LCD_OK;
    Look();
}

LCDriverEmulator::~LCDriverEmulator()
{
    if (observing_) functions_.forget(OnCall, this);
}

void LCDRIVER_CALL LCDriverEmulator::OnCall(void* context, const LCDriverCall*)
{
    auto* emulator = static_cast<LCDriverEmulator*>(context);
    ++emulator->calls_;
    emulator->Look();
}

void LCDriverEmulator::Look()
{
    LCDriverVirtualState state{};
    functions_.getState(&state);
    std::vector<unsigned char> cells(static_cast<size_t>(functions_.getCells(nullptr, 0)));
    functions_.getCells(cells.data(), static_cast<int32_t>(cells.size()));
    if (std::memcmp(&state, &state_, sizeof state) == 0 && cells == cells_) return;
    state_ = state;
    cells_.swap(cells);
    Changed();
}

std::string LCDriverEmulator::Title() const
{
    return "LCDriver virtual display " + std::to_string(state_.columns) + "x" + std::to_string(state_.rows);
}

std::vector<std::string> LCDriverEmulator::Status() const
{
    const LCDriverVirtualState& s = state_;
    std::string first = s.requested ? "requested" : "not requested";
    first += ", cursor ";
    first += s.cursorMode >= 0 && s.cursorMode < 3 ? kCursorModes[s.cursorMode] : "?";
    if (s.cursorColumn >= 0)
        first += " at column " + std::to_string(s.cursorColumn) + " row " + std::to_string(s.cursorRow);
    first += ", wrap " + OnOff(s.wrapRows) + "/" + OnOff(s.wrapDisplay) + ", calls " + std::to_string(calls_);
    std::vector<std::string> lines{first};
    if (s.marqueeRunning)
        lines.push_back("marquee on row " + std::to_string(s.marqueeRow) + ": " + std::to_string(s.marqueeShift) +
                        " place(s) every " + std::to_string(s.marqueeDelay) + "/96 s, step " +
                        std::to_string(s.marqueeSteps));
    if (s.customDefined != 0) {
        std::string defined = "custom characters defined:";
        for (int i = 0; i < 8; ++i)
            if (s.customDefined & (1 << i)) defined.append(" ").append(std::to_string(i));
        lines.push_back(defined);
    }
    return lines;
}

}  // namespace lumora::sim
