// The settings file reader takes any text: what it accepts it writes back in a
// form that it reads again to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    lumora::detail::SettingsFile file;
    std::string error;
    if (!file.Parse(text, error)) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const std::string written = file.Format();
    lumora::detail::SettingsFile again;
    if (!again.Parse(written, error) || again.Format() != written || again.Size() != file.Size()) std::abort();
    return 0;
}
