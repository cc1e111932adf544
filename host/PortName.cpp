#include "PortName.h"

namespace lumora::detail {

bool PosixDevicePath(const std::string& name, std::string& path, std::string& error)
{
    if (name.empty()) {
        error = "the port name is empty";
        return false;
    }
    if (name.find('\0') != std::string::npos) {
        error = "a port name cannot hold a zero byte";
        return false;
    }
    if (name[0] == '/') {
        error = "port " + name + ": give a device under /dev without the leading \"/\" (for example ttyUSB0)";
        return false;
    }
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2) {
            error = "port " + name + ": a port name may not leave /dev";
            return false;
        }
        start = end + 1;
    }
    // COMn, n from 1, is the n-th built-in serial port.
    constexpr size_t kMostDigits = 6;
    if (name.size() > 3 && name.size() <= 3 + kMostDigits && name.compare(0, 3, "COM") == 0 &&
        name.find_first_not_of("0123456789", 3) == std::string::npos && name[3] != '0') {
        path = "/dev/ttyS" + std::to_string(std::stol(name.substr(3)) - 1);
        return true;
    }
    path = "/dev/" + name;
    return true;
}

}  // namespace lumora::detail
