// The program's command line: options, then actions, checked whole before
// anything is loaded or opened.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lumora::app {

struct Action {
    enum class Kind { Clear, Write, Char, Marquee, Unmarquee, Gpo, Wait, Input, Info };
    Kind kind = Kind::Clear;
    int row = 0;                            // write, marquee
    int column = 0;                         // write
    int index = 0;                          // char: character 0-7; gpo: output number
    int shift = 0;                          // marquee
    int ms = 0;                             // marquee delay, wait, input
    bool on = false;                        // gpo
    std::string text;                       // write, marquee: the bytes, escapes resolved
    std::array<unsigned char, 8> bitmap{};  // char
    std::string word;                       // the action as typed, for messages
};

struct Setting {
    std::string name;
    std::variant<int, std::string> value;
};

struct Options {
    bool help = false;
    std::string driver;
    std::optional<std::string> model;
    std::optional<std::string> port;
    std::optional<std::pair<int, int>> size;  // columns, rows
    std::optional<int> contrast;
    std::optional<int> brightness;
    std::optional<int> serialOption;
    std::optional<std::string> profile;
    std::vector<Setting> settings;
    std::vector<Action> actions;
};

// Parses argv[1..argc). False on a malformed command line, with a one-line
// reason in error.
bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

// Resolves \xHH (any byte) and \\ (a backslash) in an action's text.
bool UnescapeText(const std::string& text, std::string& bytes, std::string& error);

// A whole number in [min, max], decimal or 0x-hexadecimal.
bool ParseNumber(const std::string& text, long min, long max, long& value);

const char* Usage();

}  // namespace lumora::app
