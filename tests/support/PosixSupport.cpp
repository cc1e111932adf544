#include "PosixSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace lumora::test {

Pty::Pty()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(grantpt(master_), 0);
    EXPECT_EQ(unlockpt(master_), 0);
    name_ = std::string(ptsname(master_)).substr(std::strlen("/dev/"));
    // Keep the line from hanging up between openings by the host.
    holder_ = open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    tcgetattr(holder_, &raw);
    cfmakeraw(&raw);
    tcsetattr(holder_, TCSANOW, &raw);
}

Pty::~Pty()
{
    close(holder_);
    close(master_);
}

Bytes Pty::Read(int quietMs)
{
    Bytes bytes;
    for (;;) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, quietMs) <= 0 || !(p.revents & POLLIN)) return bytes;
        unsigned char buffer[512];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return bytes;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

void Pty::Send(const Bytes& bytes) { ASSERT_EQ(write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }

void Pty::HangUp()
{
    close(holder_);
    close(master_);
    holder_ = master_ = -1;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

ProgramRun RunProgram(std::vector<std::string> args, Pty* pty,
                      const std::function<void(const ProgramRun&)>& whileRunning, const std::string& input)
{
    char directory[] = "/tmp/lumora-run-XXXXXX";
    EXPECT_NE(mkdtemp(directory), nullptr);
    const std::string out = std::string(directory) + "/out";
    const std::string err = std::string(directory) + "/err";
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    int pipeEnds[2] = {-1, -1};
    EXPECT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
    EXPECT_EQ(write(pipeEnds[1], input.data(), input.size()), ssize_t(input.size()));
    close(pipeEnds[1]);
    posix_spawn_file_actions_adddup2(&files, pipeEnds[0], 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    args.insert(args.begin(), LUMORA_PROGRAM);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    ProgramRun run;
    EXPECT_EQ(posix_spawn(&pid, LUMORA_PROGRAM, &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (pty != nullptr) {
            const Bytes got = pty->Read(20);
            run.wire.insert(run.wire.end(), got.begin(), got.end());
        } else {
            usleep(10000);
        }
        if (whileRunning) whileRunning(run);
    }
    if (pty != nullptr) {
        const Bytes rest = pty->Read(100);
        run.wire.insert(run.wire.end(), rest.begin(), rest.end());
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    std::filesystem::remove_all(directory);
    return run;
}

}  // namespace lumora::test
