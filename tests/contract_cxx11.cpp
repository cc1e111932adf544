// Compiled as C++11 with pedantic warnings as errors: the contract header must
// serve any host's compiler, not only ours. A driver written against it alone:
#include "lumora/DisplayDevice.h"

namespace {

class MinimalDevice : public DisplayDevice {
protected:
    void DeviceWrite(int32_t, int32_t, const unsigned char*, int32_t) {}
    void DeviceSetCustomChar(int32_t, const unsigned char*) {}
    int32_t DeviceOpen() { return OpenSerial(serialOption); }
    void DeviceClose() { CloseSerial(); }
    void DeviceClear() {}
};

}  // namespace

CreateDisplayDeviceFunction contractCheckFactory = 0;
DisplayDevice* MakeMinimalDevice() { return new MinimalDevice; }
