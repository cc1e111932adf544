#include "CallTrace.h"

#include "Configuration.h"

namespace lcdriver {

namespace {

void AppendQuoted(std::string& out, const unsigned char* bytes, int32_t count)
{
    static const char kHex[] = "0123456789ABCDEF";
    out += '"';
    for (int32_t i = 0; i < count; ++i) {
        const unsigned char b = bytes[i];
        if (b == '\\') {
            out += "\\\\";
        } else if (b >= 0x20 && b < 0x7F && b != '"') {
            out += static_cast<char>(b);
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    out += '"';
}

}  // namespace

std::string FormatCall(const LCDriverCall& call)
{
    std::string line = call.name;
    for (int32_t i = 0; i < call.argumentCount; ++i) {
        const LCDriverArgument& argument = call.arguments[i];
        line += ' ';
        if (!argument.pointer)
            line += std::to_string(argument.value);
        else if (argument.bytes == nullptr)
            line += "null";
        else
            AppendQuoted(line, argument.bytes, argument.byteCount);
    }
    return line;
}

void CallTrace::Record(const LCDriverCall& call)
{
    const char* path = TracePath();
    if (path == nullptr) {
        Close();
        path_.clear();
        return;
    }
    if (path != path_) {
        Close();
        path_ = path;
        file_ = std::fopen(path, "w");
    }
    if (file_ == nullptr) return;
    std::fprintf(file_, "%s\n", FormatCall(call).c_str());
    std::fflush(file_);
}

void CallTrace::Close()
{
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace lcdriver
