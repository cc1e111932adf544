// The names of the simulated display's settings, and a change stored at once:
// a key from the host, the values in order, the key closed.
#pragma once

#include <windows.h>

#include "lumora/DisplayDevice.h"

namespace mirage {

constexpr const char* kFontSize = "MirageFontSize";
constexpr const char* kFont = "MirageFont";
constexpr const char* kFontStyle = "MirageFontStyle";
constexpr const char* kTextColor = "MirageTextColor";
constexpr const char* kBackColor = "MirageBackColor";
constexpr const char* kXPos = "MirageXPos";
constexpr const char* kYPos = "MirageYPos";
constexpr const char* kAlwaysOnTop = "MirageAlwaysOnTop";

class StoreAtOnce {
public:
    StoreAtOnce() : key(DisplayDevice::GetSettingsKey()) {}
    ~StoreAtOnce() { RegCloseKey(key); }
    StoreAtOnce(const StoreAtOnce&) = delete;
    StoreAtOnce& operator=(const StoreAtOnce&) = delete;

    StoreAtOnce& Int(const char* name, int value)
    {
        DisplayDevice::SetSettingInt(key, name, value);
        return *this;
    }
    StoreAtOnce& Bool(const char* name, int value)
    {
        DisplayDevice::SetSettingBool(key, name, value);
        return *this;
    }
    StoreAtOnce& String(const char* name, const char* text)
    {
        DisplayDevice::SetSettingString(key, name, text);
        return *this;
    }

private:
    HKEY key;
};

}  // namespace mirage
