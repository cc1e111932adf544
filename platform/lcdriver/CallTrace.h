// The trace of calls for a person: one line per call, the function's name and
// its arguments, integers in decimal and the bytes behind a pointer quoted
// ("lcdSendString \"Hi\\x01\" 3").
#pragma once

#include <cstdio>
#include <string>

#include "lcdriver/LCDriver.h"

namespace lcdriver {

// The line of one call, without its line end.
std::string FormatCall(const LCDriverCall& call);

class CallTrace {
public:
    CallTrace() = default;
    ~CallTrace() { Close(); }
    CallTrace(const CallTrace&) = delete;
    CallTrace& operator=(const CallTrace&) = delete;

    // Appends the call to the file that LCDRIVER_TRACE names, written afresh
    // whenever the name changes; nothing (and no file kept open) when unset.
    void Record(const LCDriverCall& call);

private:
    void Close();

    std::string path_;
    std::FILE* file_ = nullptr;
};

}  // namespace lcdriver
