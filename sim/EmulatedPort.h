// Connects an emulator to the host as a virtual serial port: what a driver
// writes reaches the emulator, and what the emulator sends back is what the
// driver receives.
#pragma once

#include <string>

#include "Emulator.h"

namespace lumora::sim {

class EmulatedPort {
public:
    EmulatedPort(Emulator& emulator, std::string name);
    ~EmulatedPort();
    EmulatedPort(const EmulatedPort&) = delete;
    EmulatedPort& operator=(const EmulatedPort&) = delete;

    bool Registered() const { return registered_; }

private:
    Emulator& emulator_;
    std::string name_;
    bool registered_;
};

}  // namespace lumora::sim
