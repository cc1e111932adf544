// Port lookup: virtual ports registered by the program come first, then the
// platform's serial devices.
#include "SerialPort.h"

#include <cstring>
#include <map>
#include <mutex>

#include "Host.h"

namespace lumora::detail {

namespace {

std::mutex portsMutex;
std::map<std::string, VirtualPort>& VirtualPorts()
{
    static std::map<std::string, VirtualPort> ports;
    return ports;
}

class VirtualSerialPort final : public SerialPort {
public:
    explicit VirtualSerialPort(const VirtualPort& port) : port_(port) {}

    bool Write(const unsigned char* bytes, size_t count, std::string&) override
    {
        if (port_.write != nullptr) port_.write(port_.context, bytes, static_cast<unsigned int>(count));
        return true;
    }

    long Read(unsigned char* buffer, size_t size, std::string&) override
    {
        if (port_.read == nullptr) return 0;
        return static_cast<long>(port_.read(port_.context, buffer, static_cast<unsigned int>(size)));
    }

private:
    VirtualPort port_;
};

}  // namespace

std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, int baudRate, int option, std::string& error)
{
    {
        std::lock_guard<std::mutex> lock(portsMutex);
        const auto it = VirtualPorts().find(name);
        if (it != VirtualPorts().end()) return std::make_unique<VirtualSerialPort>(it->second);
    }
    return OpenPlatformSerialPort(name, baudRate, option, error);
}

}  // namespace lumora::detail

namespace lumora {

int RegisterVirtualPort(const char* name, const VirtualPort* port)
{
    if (name == nullptr || port == nullptr || name[0] == '\0' || std::strlen(name) > 7) return 0;
    std::lock_guard<std::mutex> lock(detail::portsMutex);
    detail::VirtualPorts()[name] = *port;
    return 1;
}

void UnregisterVirtualPort(const char* name)
{
    if (name == nullptr) return;
    std::lock_guard<std::mutex> lock(detail::portsMutex);
    detail::VirtualPorts().erase(name);
}

}  // namespace lumora
