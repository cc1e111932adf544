// Crystalfontz 632 (16 x 2) and 634 (20 x 4) serial displays, with or without
// a backlight, and their hardware marquee.
#pragma once

#include "lumora/DisplayDevice.h"

class CrystalfontzDevice : public DisplayDevice {
public:
    // model picks the geometry and the backlight from crystalfontzModels; a
    // name in no row (or none at all) keeps the host's geometry and has no
    // backlight.
    explicit CrystalfontzDevice(const char* model);
    ~CrystalfontzDevice() override;

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override;
    void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) override;
    int32_t DeviceOpen() override;
    void DeviceClose() override;
    void DeviceClear() override;
    void DeviceSetMarquee() override;
    void DeviceClearMarquee() override;
    int32_t DeviceHasContrast() override;
    int32_t DeviceHasBrightness() override;
    int32_t DeviceHasBacklight() override;

private:
    unsigned char MarqueeByte(int32_t index) const;

    int32_t hasBacklight = 0;
};
