// A serial connection as the host uses it: bytes out, bytes in without waiting.
#pragma once

#include <memory>
#include <string>

namespace lumora::detail {

class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Sends all count bytes in order. False when the port failed; error says why.
    virtual bool Write(const unsigned char* bytes, size_t count, std::string& error) = 0;
    // Takes up to size bytes that have arrived, without waiting. Returns the
    // number taken (0 when none), or -1 when the port is gone; error says why.
    virtual long Read(unsigned char* buffer, size_t size, std::string& error) = 0;
};

// Opens a port by name: a virtual port registered by the program, else the
// platform's serial device of that name. On failure returns null and sets error
// to a sentence that names the port and the system's reason.
std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, int baudRate, int option, std::string& error);

// The platform half of OpenSerialPort (posix/ or win32/).
std::unique_ptr<SerialPort> OpenPlatformSerialPort(const std::string& name, int baudRate, int option,
                                                   std::string& error);

}  // namespace lumora::detail
