#include "Keyboard.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

namespace lumora::sim {

namespace {

// The terminal's settings before the keyboard took it, restored when it is
// released and also when the program is interrupted meanwhile.
struct termios savedTerminal;
volatile sig_atomic_t terminalTaken = 0;

void RestoreTerminal()
{
    if (terminalTaken) tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    terminalTaken = 0;
}

void RestoreAndDie(int signalNumber)
{
    RestoreTerminal();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

}  // namespace

Keyboard::Keyboard()
{
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return;
    struct termios keys = savedTerminal;
    keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    keys.c_cc[VMIN] = 0;
    keys.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &keys) != 0) return;
    terminalTaken = 1;
    signal(SIGINT, RestoreAndDie);
    signal(SIGTERM, RestoreAndDie);
    signal(SIGHUP, RestoreAndDie);
}

Keyboard::~Keyboard() { RestoreTerminal(); }

size_t Keyboard::Read(unsigned char* buffer, size_t size)
{
    if (ended_ || size == 0) return 0;
    struct pollfd input = {STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, 0) <= 0) return 0;
    const ssize_t n = read(STDIN_FILENO, buffer, size);
    if (n > 0) return static_cast<size_t>(n);
    // A terminal with nothing typed reads 0 bytes; anything else has ended.
    if (n == 0 && !terminalTaken) ended_ = true;
    if (n < 0) ended_ = true;
    return 0;
}

}  // namespace lumora::sim
