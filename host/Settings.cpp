// The platform-independent half of the settings store.
#include "Settings.h"

#include <algorithm>
#include <mutex>

#include "Host.h"
#include "lumora/DisplayDevice.h"

namespace lumora::detail {

namespace {
std::mutex settingsMutex;
std::string profile = "Default";
std::string problems;
}  // namespace

bool IsValidProfileName(const std::string& name)
{
    if (name.empty() || name.size() > 64 || name[0] == '.') return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                        c == '_' || c == '.';
        if (!ok) return false;
    }
    return true;
}

std::string CurrentProfile()
{
    std::lock_guard<std::mutex> lock(settingsMutex);
    return profile;
}

void RecordSettingsProblem(const std::string& problem)
{
    std::lock_guard<std::mutex> lock(settingsMutex);
    if (problems.find(problem) != std::string::npos) return;  // said once is enough
    if (!problems.empty()) problems += "; ";
    problems += problem;
}

std::string TakeSettingsProblems()
{
    std::lock_guard<std::mutex> lock(settingsMutex);
    std::string taken;
    taken.swap(problems);
    return taken;
}

void CopyTerminated(const std::string& text, char* buffer, int size)
{
    if (buffer == nullptr || size <= 0) return;
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    text.copy(buffer, n);
    buffer[n] = '\0';
}

}  // namespace lumora::detail

using namespace lumora::detail;

namespace lumora {

int SetSettingsProfile(const char* name)
{
    if (name == nullptr || !IsValidProfileName(name)) return 0;
    std::lock_guard<std::mutex> lock(settingsMutex);
    profile = name;
    return 1;
}

}  // namespace lumora

// A Boolean is stored as the whole number 0 or 1; any nonzero number reads as 1.
int DisplayDevice::GetSettingBool(HKEY key, const char* name, int& value)
{
    int stored = 0;
    if (!GetSettingInt(key, name, stored)) return 0;
    value = stored != 0 ? 1 : 0;
    return 1;
}

int DisplayDevice::SetSettingBool(HKEY key, const char* name, int value)
{
    return SetSettingInt(key, name, value != 0 ? 1 : 0);
}
