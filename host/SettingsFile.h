// The text form of one settings profile, as the file store keeps it:
//
//   # comment
//   DebounceTime = 52
//   MirageFont = "Courier New"
//
// A value is a whole number (32-bit, signed) or a quoted string in which \\,
// \" and \xHH stand for a backslash, a quote and any byte. Names are printable
// and contain no '=' or '"'.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <variant>

namespace lumora::detail {

using SettingValue = std::variant<int, std::string>;

class SettingsFile {
public:
    // False for a text that is not a settings file; error names the line.
    bool Parse(const std::string& text, std::string& error);
    std::string Format() const;

    std::optional<int> GetInt(const std::string& name) const;
    std::optional<std::string> GetString(const std::string& name) const;
    void Set(const std::string& name, SettingValue value);
    size_t Size() const { return values_.size(); }

    static bool IsValidName(const std::string& name);

private:
    std::map<std::string, SettingValue> values_;
};

}  // namespace lumora::detail
