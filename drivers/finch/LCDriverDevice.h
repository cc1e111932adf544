// Displays served by the LCDriver 1.x library, which owns the hardware: each
// operation becomes one or two LCDriver calls.
#pragma once

#include "lumora/DisplayDevice.h"

class LCDriverDevice : public DisplayDevice {
public:
    LCDriverDevice();
    ~LCDriverDevice() override;

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override;
    void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) override;
    int32_t DeviceOpen() override;
    void DeviceClose() override;
    void DeviceClear() override;
    void DeviceSetMarquee() override;
    void DeviceClearMarquee() override;
    void DeviceLoadSettings(HKEY key) override;
    void DeviceSaveSettings(HKEY key) override;

private:
    int32_t marqueeSimulated;  // nonzero: the host runs the marquee; 0: LCDriver does
};
