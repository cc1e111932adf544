#include "SettingsFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace lumora::detail {

namespace {

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseInt(const std::string& text, int& value)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseQuoted(const std::string& text, std::string& value)
{
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
    value.clear();
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') return false;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (i + 2 >= text.size()) return false;  // a backslash needs something after it
        const char e = text[++i];
        if (e == '\\' || e == '"') {
            value += e;
        } else if (e == 'x' && i + 3 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            value += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

std::string Quote(const std::string& value)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (unsigned char c : value) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

bool SettingsFile::IsValidName(const std::string& name)
{
    if (name.empty() || name.size() > 255 || name != Trim(name) || name[0] == '#') return false;
    for (unsigned char c : name)
        if (c < 0x20 || c >= 0x7F || c == '=' || c == '"') return false;
    return true;
}

bool SettingsFile::Parse(const std::string& text, std::string& error)
{
    values_.clear();
    size_t start = 0;
    for (int lineNumber = 1; start <= text.size(); ++lineNumber) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        const size_t eq = line.find('=');
        const std::string name = eq == std::string::npos ? "" : Trim(line.substr(0, eq));
        const std::string raw = eq == std::string::npos ? "" : Trim(line.substr(eq + 1));
        int number = 0;
        std::string string;
        if (!IsValidName(name)) {
            error = "line " + std::to_string(lineNumber) + ": expected NAME = VALUE";
        } else if (ParseInt(raw, number)) {
            values_[name] = number;
            continue;
        } else if (ParseQuoted(raw, string)) {
            values_[name] = string;
            continue;
        } else {
            error = "line " + std::to_string(lineNumber) + ": the value of " + name +
                    " is neither a whole number nor a quoted string";
        }
        values_.clear();
        return false;
    }
    return true;
}

std::string SettingsFile::Format() const
{
    std::string out = "# lumora settings: NAME = number, or NAME = \"text\"\n";
    for (const auto& [name, value] : values_) {
        out += name + " = ";
        out += std::holds_alternative<int>(value) ? std::to_string(std::get<int>(value))
                                                  : Quote(std::get<std::string>(value));
        out += '\n';
    }
    return out;
}

std::optional<int> SettingsFile::GetInt(const std::string& name) const
{
    const auto it = values_.find(name);
    if (it == values_.end() || !std::holds_alternative<int>(it->second)) return std::nullopt;
    return std::get<int>(it->second);
}

std::optional<std::string> SettingsFile::GetString(const std::string& name) const
{
    const auto it = values_.find(name);
    if (it == values_.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
    return std::get<std::string>(it->second);
}

void SettingsFile::Set(const std::string& name, SettingValue value) { values_[name] = std::move(value); }

}  // namespace lumora::detail
