// Test pieces that need a POSIX system: a pseudo-terminal pair standing in
// for a serial line, and a run of the program lumora with its output and what
// it sent on such a line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace lumora::test {

// A pseudo-terminal pair: the host opens the slave by its name under /dev
// ("pts/N") as it would a serial port; the test plays the display on the master.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& Name() const { return name_; }

    // What the host sent, waiting until quiet for quietMs.
    Bytes Read(int quietMs = 200);
    void Send(const Bytes& bytes);
    // The display is unplugged: the line goes away under the host.
    void HangUp();

private:
    int master_ = -1;
    int holder_ = -1;
    std::string name_;
};

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
    Bytes wire;
};

std::string ReadFile(const std::string& path);

// Runs the program to its end, with input piped into its standard input; with
// a pty, collects what the program sent on it. whileRunning, when given, is
// called with the run so far (what reached the line) as the program works.
ProgramRun RunProgram(std::vector<std::string> args, Pty* pty = nullptr,
                      const std::function<void(const ProgramRun&)>& whileRunning = nullptr,
                      const std::string& input = "");

}  // namespace lumora::test
