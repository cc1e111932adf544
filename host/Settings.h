// The settings store's shared parts: the current profile, and the record of
// what went wrong while settings were read or written, which the application
// interface reports (drivers ignore the results of the setting operations).
#pragma once

#include <string>

namespace lumora::detail {

bool IsValidProfileName(const std::string& name);
std::string CurrentProfile();

void RecordSettingsProblem(const std::string& problem);
// The problems recorded since the last call, joined; empty when none.
std::string TakeSettingsProblems();

// Copies text into buffer, cut to size - 1 bytes and always zero-terminated.
void CopyTerminated(const std::string& text, char* buffer, int size);

}  // namespace lumora::detail
