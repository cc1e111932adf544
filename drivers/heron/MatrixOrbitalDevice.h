// Matrix Orbital serial character displays: LCD and LK (liquid crystal, LK with
// a keypad), VFD and VK (vacuum fluorescent, VK with a keypad).
#pragma once

#include "lumora/DisplayDevice.h"

// One row of the model table: the name as the host passes it and what that
// display has.
struct MatrixOrbitalModel {
    const char* name;
    int32_t width;
    int32_t height;
    int32_t isVFD;
    int32_t hasKeypad;
    int32_t gpoCount;
};

extern const MatrixOrbitalModel matrixOrbitalModels[13];

class MatrixOrbitalDevice : public DisplayDevice {
public:
    MatrixOrbitalDevice(HWND parentWindow, const char* model);
    ~MatrixOrbitalDevice() override;

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override;
    void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) override;
    int32_t DeviceOpen() override;
    void DeviceClose() override;
    void DeviceClear() override;
    int32_t DeviceHasContrast() override;
    int32_t DeviceHasBrightness() override;
    int32_t DeviceHasKeypad() override;
    int32_t DeviceEnableInput() override;
    void DeviceDisableInput() override;
    void DeviceInput(unsigned char key) override;
    int32_t DeviceGetGPOs() override;
    void DeviceSetGPO(int32_t gpo, int32_t on) override;
    void DeviceLoadSettings(HKEY key) override;
    void DeviceSaveSettings(HKEY key) override;

private:
    int32_t isVFD = 0;      // a brightness level instead of a contrast
    int32_t hasKeypad = 0;  // debounce command, key events, "DebounceTime"
    int32_t gpoCount = 0;   // general-purpose outputs reported to the host
    int32_t debounceTime;   // milliseconds
};
