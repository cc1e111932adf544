// HD44780 character LCDs wired straight to a PC parallel port: one controller,
// or two that share the data bus and register select but each have their own
// enable line (displays of more than 80 characters).
#pragma once

#include "lumora/DisplayDevice.h"

class HD44780Device : public DisplayDevice {
public:
    HD44780Device();
    ~HD44780Device() override;

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override;
    void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) override;
    int32_t DeviceOpen() override;
    void DeviceClose() override;
    void DeviceClear() override;
    int32_t DeviceHasSetSize() override;
    void DeviceLoadSettings(HKEY key) override;
    void DeviceSaveSettings(HKEY key) override;

private:
    // The only two paths to the port: one instruction, or one character, to
    // controller 0 or 1.
    void WriteCommand(unsigned char value, int32_t controller);
    void WriteData(unsigned char value, int32_t controller);
    void Transfer(unsigned char value, unsigned char control, int32_t controller);

    void CommandToEachController(unsigned char value);
    void SetAddress(int32_t localRow, int32_t column, int32_t controller);
    int32_t Address(int32_t localRow, int32_t column) const;

    int32_t portAddress;      // data register; 0 until an open finds a usable port
    int32_t strobeDelay;      // ms the enable line is held high
    int32_t commandDelay;     // ms allowed for each instruction or character
    int32_t controllerCount;  // as the last open counted them
};
