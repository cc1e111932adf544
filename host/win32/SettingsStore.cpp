// The settings store on Windows: the registry, one key per profile under
// HKEY_CURRENT_USER\Software\Lumora. Whole numbers and Booleans are REG_DWORD
// values, text is REG_SZ.
#include <windows.h>

#include <cstring>
#include <vector>

#include "../Host.h"
#include "../Settings.h"
#include "Win32Error.h"
#include "lumora/DisplayDevice.h"

using namespace lumora::detail;

namespace {

std::string ProfileKeyPath() { return "Software\\Lumora\\" + CurrentProfile(); }

bool Usable(HKEY key, const char* name) { return key != nullptr && name != nullptr; }

int Stored(LONG status, const char* name)
{
    if (status == ERROR_SUCCESS) return 1;
    RecordSettingsProblem(std::string("cannot store the setting ") + name + ": " + Win32ErrorText(status));
    return 0;
}

}  // namespace

HKEY DisplayDevice::GetSettingsKey()
{
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, ProfileKeyPath().c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        RecordSettingsProblem("cannot open the settings key HKEY_CURRENT_USER\\" + ProfileKeyPath() + ": " +
                              Win32ErrorText(status));
        return nullptr;
    }
    return key;
}

void DisplayDevice::CloseSettingsKey(HKEY key)
{
    if (key != nullptr) RegCloseKey(key);
}

int DisplayDevice::GetSettingInt(HKEY key, const char* name, int& value)
{
    if (!Usable(key, name)) return 0;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return 0;
    value = static_cast<int>(data);
    return 1;
}

int DisplayDevice::SetSettingInt(HKEY key, const char* name, int value)
{
    if (!Usable(key, name)) return 0;
    const DWORD data = static_cast<DWORD>(value);
    return Stored(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data), name);
}

int DisplayDevice::GetSettingString(HKEY key, const char* name, char* buffer, int size)
{
    if (!Usable(key, name) || buffer == nullptr || size <= 0) return 0;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return 0;
    // Read the whole value, then cut it: a long value never overruns buffer.
    std::vector<char> data(bytes + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS)
        return 0;
    CopyTerminated(std::string(data.data()), buffer, size);
    return 1;
}

int DisplayDevice::SetSettingString(HKEY key, const char* name, const char* text)
{
    if (!Usable(key, name) || text == nullptr) return 0;
    const DWORD bytes = static_cast<DWORD>(std::strlen(text) + 1);
    return Stored(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes), name);
}

namespace lumora {

int DescribeSettingsLocation(char* buffer, int size)
{
    CopyTerminated("HKEY_CURRENT_USER\\" + ProfileKeyPath(), buffer, size);
    return 1;
}

}  // namespace lumora
