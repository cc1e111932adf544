// The system's text for a Windows error code.
#pragma once

#include <windows.h>

#include <string>

namespace lumora::detail {

inline std::string Win32ErrorText(DWORD code)
{
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   sizeof text, nullptr);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
    if (s.empty()) s = "error " + std::to_string(code);
    return s;
}

}  // namespace lumora::detail
