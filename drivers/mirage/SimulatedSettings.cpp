// The simulated display's settings: its font, colours, position and z-order,
// read and written as eight values under the key the host gives.
#include "SimulatedDevice.h"
#include "SimulatedSettings.h"

using namespace mirage;

namespace {
// Colours are stored as their COLORREF value, read through an int.
void ReadColor(HKEY key, const char* name, COLORREF& color)
{
    int value = static_cast<int>(color);
    DisplayDevice::GetSettingInt(key, name, value);
    color = static_cast<COLORREF>(value);
}
}  // namespace

// Loading changes no window and no cached object: the values take effect
// when the window is next made, sized, painted or erased with a new brush.
void SimulatedDevice::DeviceLoadSettings(HKEY key)
{
    GetSettingInt(key, kFontSize, fontSize);
    GetSettingString(key, kFont, fontFace, sizeof fontFace);
    GetSettingString(key, kFontStyle, fontStyle, sizeof fontStyle);
    ReadColor(key, kTextColor, textColor);
    ReadColor(key, kBackColor, backColor);
    GetSettingInt(key, kXPos, xPos);
    GetSettingInt(key, kYPos, yPos);
    GetSettingBool(key, kAlwaysOnTop, alwaysOnTop);
}

void SimulatedDevice::DeviceSaveSettings(HKEY key)
{
    SetSettingInt(key, kFontSize, fontSize);
    SetSettingString(key, kFont, fontFace);
    SetSettingString(key, kFontStyle, fontStyle);
    SetSettingInt(key, kTextColor, static_cast<int>(textColor));
    SetSettingInt(key, kBackColor, static_cast<int>(backColor));
    SetSettingInt(key, kXPos, xPos);
    SetSettingInt(key, kYPos, yPos);
    SetSettingBool(key, kAlwaysOnTop, alwaysOnTop);
}
