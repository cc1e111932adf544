// The virtual display of our LCDriver library, seen from the program. The
// library keeps the display and runs its marquee; this reads what it shows.
// It meets the driver through the library, not through a serial port.
#pragma once

#include <memory>
#include <vector>

#include "Emulator.h"
#include "SharedLibrary.h"
#include "lcdriver/LCDriver.h"

namespace lumora::sim {

class LCDriverEmulator final : public Emulator {
public:
    // The emulator of the LCDriver library the process uses, or null when that
    // library cannot be loaded or has no virtual display to show (not ours).
    static std::unique_ptr<LCDriverEmulator> Connect();
    ~LCDriverEmulator() override;

    std::string Title() const override;
    int Columns() const override { return state_.columns; }
    int Rows() const override { return state_.rows; }
    unsigned char Cell(int row, int column) const override
    {
        return cells_[static_cast<size_t>(row) * state_.columns + column];
    }
    std::vector<std::string> Status() const override;
    // Nothing arrives over a port: the driver calls the library.
    void Receive(const unsigned char*, size_t) override {}
    bool ConnectsAsSerialPort() const override { return false; }
    // The library's marquee moves with the library's clock; this looks again.
    void Tick(int64_t) override { Look(); }

private:
    struct Functions {
        decltype(&LCDriverVirtualObserve) observe;
        decltype(&LCDriverVirtualForget) forget;
        decltype(&LCDriverVirtualGetState) getState;
        decltype(&LCDriverVirtualGetCells) getCells;
    };

    LCDriverEmulator(std::unique_ptr<SharedLibrary> library, const Functions& functions);
    // Reads the display; a change of what it shows counts as a change.
    void Look();
    static void LCDRIVER_CALL OnCall(void* context, const LCDriverCall* call);

    std::unique_ptr<SharedLibrary> library_;
    Functions functions_;
    bool observing_ = false;
    unsigned long calls_ = 0;
    LCDriverVirtualState state_{};
    std::vector<unsigned char> cells_;
};

}  // namespace lumora::sim
