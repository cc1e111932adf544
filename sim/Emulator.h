// An emulated character display: it decodes what a driver sends, as the real
// hardware would, into the cells a person would see.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace lumora::sim {

class Emulator {
public:
    virtual ~Emulator() = default;

    // What kind of display this is, for the frame's title.
    virtual std::string Title() const = 0;
    virtual int Columns() const = 0;
    virtual int Rows() const = 0;
    // The character code shown in a cell.
    virtual unsigned char Cell(int row, int column) const = 0;
    // How a character code looks in a terminal (UTF-8).
    virtual std::string Glyph(unsigned char code) const;
    // Lines shown under the display: lamps, levels, what was not understood.
    virtual std::vector<std::string> Status() const { return {}; }

    // Bytes from the driver, in order.
    virtual void Receive(const unsigned char* bytes, size_t count) = 0;

    // How the emulator meets the driver: as the virtual serial port "sim"
    // (the driver's port is set to it), or through a library that the driver
    // calls (port writes, LCDriver), the driver keeping its own port name.
    virtual bool ConnectsAsSerialPort() const { return true; }

    // Time passes (milliseconds on the host's monotonic clock): a display
    // that moves by itself, like a hardware marquee, moves.
    virtual void Tick(int64_t nowMs) { (void)nowMs; }

    // Bytes the display sends back to the host (keys pressed).
    void SendToHost(unsigned char byte);
    size_t TakeSentToHost(unsigned char* buffer, size_t size);

    // Counts visible changes, so that a view redraws only when needed.
    unsigned long Version() const { return version_; }

protected:
    void Changed() { ++version_; }

private:
    unsigned long version_ = 0;
    std::deque<unsigned char> toHost_;
};

// The emulator for a driver ("plover", ...) of the model and geometry the
// driver reports, or null when there is none.
std::unique_ptr<Emulator> CreateEmulator(const std::string& driver, const std::string& model, int columns, int rows);

}  // namespace lumora::sim
