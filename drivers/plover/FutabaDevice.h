// Futaba serial VFDs, 20 columns by 4 rows.
#pragma once

#include "lumora/DisplayDevice.h"

class FutabaDevice : public DisplayDevice {
public:
    FutabaDevice();
    ~FutabaDevice() override;

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override;
    void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) override;
    int32_t DeviceOpen() override;
    void DeviceClose() override;
    void DeviceClear() override;
};
