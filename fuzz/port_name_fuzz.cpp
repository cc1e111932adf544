// Any port name either becomes a device under /dev or is refused with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "PortName.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string name(reinterpret_cast<const char*>(data), size);
    std::string path, error;
    if (!lumora::detail::PosixDevicePath(name, path, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (path.rfind("/dev/", 0) != 0) std::abort();
    // No component may climb out of /dev.
    const std::string rest = "/" + path.substr(5) + "/";
    if (rest.find("/../") != std::string::npos || rest.find('\0') != std::string::npos) std::abort();
    return 0;
}
