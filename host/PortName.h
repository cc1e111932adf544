// How a port name becomes a device on POSIX systems.
#pragma once

#include <string>

namespace lumora::detail {

// "ttyUSB0" -> "/dev/ttyUSB0", "pts/3" -> "/dev/pts/3", "COM1" -> "/dev/ttyS0"
// (COMn is /dev/ttyS(n-1)). A name with a leading "/" or a ".." component, or
// an empty one, names no device under /dev: false, with the reason in error.
bool PosixDevicePath(const std::string& name, std::string& path, std::string& error);

}  // namespace lumora::detail
