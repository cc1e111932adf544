#include "CommandLine.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lumora::app {

namespace {

// A whole command line is read from a cursor over its words.
class Words {
public:
    Words(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}
    bool Done() const { return next_ >= argc_; }
    std::string Peek() const { return argv_[next_]; }
    std::string Take() { return argv_[next_++]; }
    bool TakeValue(const std::string& what, std::string& value, std::string& error)
    {
        if (Done()) {
            error = what + " needs a value";
            return false;
        }
        value = Take();
        return true;
    }

private:
    int argc_;
    const char* const* argv_;
    int next_ = 1;
};

bool Number(const std::string& text, long min, long max, const std::string& what, int& value, std::string& error)
{
    long v = 0;
    if (!ParseNumber(text, min, max, v)) {
        error = what + " must be a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                ", not '" + text + "'";
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

bool ParseSize(const std::string& text, std::pair<int, int>& size, std::string& error)
{
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        error = "--size takes COLSxROWS, for example 20x4, not '" + text + "'";
        return false;
    }
    return Number(text.substr(0, x), 1, 40, "--size columns", size.first, error) &&
           Number(text.substr(x + 1), 1, 4, "--size rows", size.second, error);
}

bool ParseSetting(const std::string& text, Setting& setting, std::string& error)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "--setting takes NAME=VALUE, not '" + text + "'";
        return false;
    }
    setting.name = text.substr(0, eq);
    const std::string value = text.substr(eq + 1);
    long number = 0;
    if (ParseNumber(value, -2147483648L, 2147483647L, number))
        setting.value = static_cast<int>(number);
    else
        setting.value = value;
    return true;
}

// The words each action takes after its own name.
int ArgumentCount(const std::string& word)
{
    static const struct {
        const char* word;
        int arguments;
    } kActions[] = {{"clear", 0}, {"write", 3}, {"char", 9},  {"marquee", 4}, {"unmarquee", 0},
                    {"gpo", 2},   {"wait", 1},  {"input", 1}, {"info", 0}};
    for (const auto& action : kActions)
        if (word == action.word) return action.arguments;
    return -1;
}

bool ParseAction(Words& words, Action& action, std::string& error)
{
    action.word = words.Take();
    const int count = ArgumentCount(action.word);
    if (count < 0) {
        error = "unknown action '" + action.word + "' (see --help)";
        return false;
    }
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        if (words.Done()) {
            error = "action '" + action.word + "' needs " + std::to_string(count) + " arguments (see --help)";
            return false;
        }
        args.push_back(words.Take());
    }
    const std::string& w = action.word;
    using K = Action::Kind;
    if (w == "clear") {
        action.kind = K::Clear;
    } else if (w == "unmarquee") {
        action.kind = K::Unmarquee;
    } else if (w == "info") {
        action.kind = K::Info;
    } else if (w == "write") {
        action.kind = K::Write;
        return Number(args[0], 0, 3, "write ROW", action.row, error) &&
               Number(args[1], 0, 39, "write COL", action.column, error) && UnescapeText(args[2], action.text, error);
    } else if (w == "char") {
        action.kind = K::Char;
        if (!Number(args[0], 0, 7, "char INDEX", action.index, error)) return false;
        for (int i = 0; i < 8; ++i) {
            int b = 0;
            if (!Number(args[1 + i], 0, 255, "char B" + std::to_string(i), b, error)) return false;
            action.bitmap[i] = static_cast<unsigned char>(b);
        }
    } else if (w == "marquee") {
        action.kind = K::Marquee;
        return Number(args[0], 0, 3, "marquee ROW", action.row, error) &&
               Number(args[1], 1, 255, "marquee SHIFT", action.shift, error) &&
               Number(args[2], 1, 60000, "marquee DELAY", action.ms, error) &&
               UnescapeText(args[3], action.text, error);
    } else if (w == "gpo") {
        action.kind = K::Gpo;
        if (!Number(args[0], 1, 255, "gpo N", action.index, error)) return false;
        if (args[1] != "on" && args[1] != "off") {
            error = "gpo takes on or off, not '" + args[1] + "'";
            return false;
        }
        action.on = args[1] == "on";
    } else if (w == "wait" || w == "input") {
        action.kind = w == "wait" ? K::Wait : K::Input;
        return Number(args[0], 0, 86400000, w + " MS", action.ms, error);
    }
    return true;
}

}  // namespace

bool ParseNumber(const std::string& text, long min, long max, long& value)
{
    if (text.empty() || text[0] == '+' || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || v < min || v > max) return false;
    value = static_cast<long>(v);
    return true;
}

bool UnescapeText(const std::string& text, std::string& bytes, std::string& error)
{
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            bytes += '\\';
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == 'x') {
            const std::string digits = text.substr(i + 2, 2);
            if (digits.size() == 2 && std::isxdigit(static_cast<unsigned char>(digits[0])) &&
                std::isxdigit(static_cast<unsigned char>(digits[1]))) {
                bytes += static_cast<char>(std::strtol(digits.c_str(), nullptr, 16));
                i += 3;
                continue;
            }
            error = "the escape \\x in '" + text + "' needs two hexadecimal digits";
            return false;
        }
        error = "unknown escape in '" + text + "': use \\xHH for a byte and \\\\ for a backslash";
        return false;
    }
    return true;
}

bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error)
{
    Words words(argc, argv);
    while (!words.Done() && words.Peek().rfind("--", 0) == 0) {
        std::string option = words.Take();
        std::string value;
        const size_t eq = option.find('=');
        const bool inlineValue = eq != std::string::npos;
        if (inlineValue) {
            value = option.substr(eq + 1);
            option.erase(eq);
        }
        auto needValue = [&]() { return inlineValue || words.TakeValue(option, value, error); };
        if (option == "--help") {
            options.help = true;
            return true;
        } else if (option == "--driver") {
            if (!needValue()) return false;
            options.driver = value;
        } else if (option == "--model") {
            if (!needValue()) return false;
            options.model = value;
        } else if (option == "--port") {
            if (!needValue()) return false;
            options.port = value;
        } else if (option == "--size") {
            std::pair<int, int> size;
            if (!needValue() || !ParseSize(value, size, error)) return false;
            options.size = size;
        } else if (option == "--contrast" || option == "--brightness") {
            int percent = 0;
            if (!needValue() || !Number(value, 0, 100, option, percent, error)) return false;
            (option == "--contrast" ? options.contrast : options.brightness) = percent;
        } else if (option == "--serial-option") {
            int n = 0;
            if (!needValue() || !Number(value, 0, 2147483647L, option, n, error)) return false;
            options.serialOption = n;
        } else if (option == "--profile") {
            if (!needValue()) return false;
            options.profile = value;
        } else if (option == "--setting") {
            Setting setting;
            if (!needValue() || !ParseSetting(value, setting, error)) return false;
            options.settings.push_back(setting);
        } else {
            error = "unknown option '" + option + "' (see --help)";
            return false;
        }
    }
    if (options.driver.empty()) {
        error = "no driver given: use --driver NAME (see --help)";
        return false;
    }
    while (!words.Done()) {
        Action action;
        if (!ParseAction(words, action, error)) return false;
        options.actions.push_back(action);
    }
    return true;
}

const char* Usage()
{
    return "usage: lumora --driver NAME|PATH [--model NAME] [--port NAME] [--size COLSxROWS]\n"
           "              [--contrast PCT] [--brightness PCT] [--serial-option N] [--profile NAME]\n"
           "              [--setting NAME=VALUE]... ACTION...\n"
           "\n"
           "Loads a display driver, opens the display, runs the actions in order, closes\n"
           "the display and saves the driver's settings.\n"
           "\n"
           "actions:\n"
           "  clear                       blank the display\n"
           "  write ROW COL TEXT          show TEXT at ROW, COL (counted from 0), clipped to the row\n"
           "  char INDEX B0 ... B7        define custom character INDEX (0-7), one byte a pixel\n"
           "                              row, top first, pixels in bits 4 (left) to 0; TEXT\n"
           "                              shows it as \\x00 to \\x07\n"
           "  marquee ROW SHIFT DELAY TEXT  scroll TEXT through ROW, SHIFT at a time, every DELAY ms\n"
           "  unmarquee                   stop the marquee\n"
           "  gpo N on|off                switch general-purpose output N (from 1)\n"
           "  wait MS                     keep the display running (marquee, input) for MS ms\n"
           "  input MS                    print the display's input events for MS ms\n"
           "  info                        print the geometry and the capabilities\n"
           "\n"
           "TEXT takes \\xHH for any byte and \\\\ for a backslash. Numbers are decimal or 0x-hex.\n"
           "\n"
           "options:\n"
           "  --driver NAME|PATH   plover (Futaba VFD), heron (Matrix Orbital), kestrel\n"
           "                       (Crystalfontz), wren (HD44780 on a parallel port), finch\n"
           "                       (LCDriver), mirage (a window, Windows only), or a driver\n"
           "                       library's path\n"
           "  --model NAME         the display model, for drivers that have several\n"
           "  --port NAME          COM1..., or on Linux a device under /dev (ttyUSB0, pts/3);\n"
           "                       'sim' drives an emulated display drawn in the terminal\n"
           "  --size COLSxROWS     geometry, for drivers whose size can be set (1-40 x 1-4)\n"
           "  --contrast PCT       0-100, for displays with a contrast control\n"
           "  --brightness PCT     0-100, for displays with a brightness or backlight control\n"
           "  --serial-option N    1 turns on RTS/CTS handshaking\n"
           "  --profile NAME       the settings profile (default: the driver's name)\n"
           "  --setting NAME=VALUE store a setting in the profile before the driver reads it\n"
           "                       (a whole number where it reads as one, else text)\n";
}

}  // namespace lumora::app
