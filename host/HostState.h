// The host's private state behind each DisplayDevice.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SerialPort.h"

namespace lumora::detail {

// What an empty cell holds: the space as charMap sends it.
inline unsigned char BlankCell(const unsigned char* charMap) { return charMap[static_cast<unsigned char>(' ')]; }

struct HostState {
    std::unique_ptr<SerialPort> port;
    bool portLost = false;    // the open port failed; writes are dropped until it is closed
    std::string portFailure;  // why it failed
    std::string lastError;
    std::vector<unsigned char> screen;   // backs DisplayDevice::screen
    std::vector<unsigned char> marquee;  // backs DisplayDevice::marqueeText
    int64_t marqueeDue = -1;             // time of the next marquee step, -1 until the first service
};

}  // namespace lumora::detail
