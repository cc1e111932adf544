// The wren driver, compiled in on a clock that never waits, driven through the
// host's application interface with any port name, geometry and sequence of
// writes, clears, custom characters, openings and closings, and stray port
// writes in between, while an emulated HD44780 module watches the port.
// Nothing may fail, and while no stray write has come since the display was
// opened (a stray instruction may change modes that only the opening sets),
// the module shows exactly the host's screen.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "DlPortIO.h"
#include "HD44780Device.h"
#include "HD44780Emulator.h"
#include "Pause.h"
#include "PortAddress.h"

void wren::Pause(int32_t) {}

namespace {

void Compare(const DisplayDevice& device, const lumora::sim::HD44780Emulator& module)
{
    const int width = device.GetWidth();
    const unsigned char* screen = device.GetScreen();
    for (int row = 0; row < device.GetHeight(); ++row)
        for (int column = 0; column < width; ++column) {
            if (module.Cell(row, column) == screen[row * width + column]) continue;
            std::fprintf(stderr, "%dx%d: the module shows %02X at row %d, column %d; the host has %02X\n", width,
                         device.GetHeight(), module.Cell(row, column), row, column, screen[row * width + column]);
            std::abort();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    HD44780Device device;
    const std::string name = input.ConsumeBool() ? "LPT1" : input.ConsumeRandomLengthString(8);
    device.SetPortName(name.c_str());
    device.SetSize(input.ConsumeIntegralInRange(0, 41), input.ConsumeIntegralInRange(0, 5));
    const int32_t address = wren::ReadPortName(device.GetPortName());
    lumora::sim::HD44780Emulator module(device.GetWidth(), device.GetHeight(), static_cast<uint32_t>(address));
    // Three rows of more than 20 columns cannot be one controller (rows 0 and
    // 2 would share a 40-character line) and are too few characters for two:
    // no such module exists to compare with.
    const bool buildable = !(device.GetHeight() == 3 && device.GetWidth() > 20 && device.GetWidth() * 3 <= 80);
    bool trusted = false;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0:
            if (!device.IsOpen() && device.Open()) trusted = true;
            break;
        case 1: device.Close(); break;
        case 2: {
            const std::string text = input.ConsumeRandomLengthString(45);
            device.WriteText(input.ConsumeIntegralInRange(-1, 5), input.ConsumeIntegralInRange(-1, 41), text.data(),
                             input.ConsumeIntegralInRange(-1, static_cast<int>(text.size())));
            break;
        }
        case 3: device.ClearText(); break;
        case 4: {
            unsigned char bitmap[8];
            for (unsigned char& b : bitmap) b = input.ConsumeIntegral<unsigned char>();
            device.DefineCustomChar(input.ConsumeIntegralInRange(-1, 8), bitmap);
            break;
        }
        case 5:  // a stray write to the data or control register
            DlPortWritePortUchar(static_cast<uint32_t>(address) + (input.ConsumeBool() ? 2 : 0),
                                 input.ConsumeIntegral<uint8_t>());
            trusted = false;
            break;
        }
        if (trusted && buildable && device.IsOpen()) Compare(device, module);
    }
    device.Close();
    return 0;
}
