// An HD44780 character LCD module on a PC parallel port, driven by the port
// writes that DlPortIO shows its observers, the way the module is wired: the
// data register is the data bus; in the control register bit 2 (nInit) is
// register select, and bits 0 (nStrobe) and 3 (nSelectIn) are the enable lines
// of controllers 0 and 1, both inverted at the connector. A controller takes
// the bus on the falling edge of its enable line.
//
// A module of more than 80 characters has two controllers with two rows on
// each (a 40 x 4: rows 0 and 1, then 2 and 3). Within a controller rows 0 and 1 are the two memory lines
// (0x00, 0x40) and rows 2 and 3 continue them after one row's width; a
// one-row module shows its columns 8 to 15 from the second line.
#pragma once

#include <cstdint>
#include <vector>

#include "Emulator.h"
#include "HD44780Controller.h"

namespace lumora::sim {

class HD44780Emulator final : public Emulator {
public:
    static constexpr uint32_t kLpt1 = 0x378;

    HD44780Emulator(int columns, int rows, uint32_t portAddress = kLpt1);
    ~HD44780Emulator() override;
    HD44780Emulator(const HD44780Emulator&) = delete;
    HD44780Emulator& operator=(const HD44780Emulator&) = delete;

    std::string Title() const override;
    int Columns() const override { return columns_; }
    int Rows() const override { return rows_; }
    unsigned char Cell(int row, int column) const override;
    std::string Glyph(unsigned char code) const override;
    std::vector<std::string> Status() const override;
    // A parallel-port module has no serial line: bytes sent that way are lost.
    void Receive(const unsigned char*, size_t) override {}
    bool ConnectsAsSerialPort() const override { return false; }

    // One write to an I/O port, as DlPortIO reports it.
    void PortWrite(uint32_t port, uint8_t value);

private:
    static void Observe(void* context, uint32_t port, uint8_t value);

    int columns_;
    int rows_;
    uint32_t portAddress_;
    int rowsPerController_;
    std::vector<HD44780Controller> controllers_;
    uint8_t bus_ = 0;
    bool enableHigh_[2] = {false, false};
    unsigned long otherPortWrites_ = 0;
    bool observing_;
};

}  // namespace lumora::sim
