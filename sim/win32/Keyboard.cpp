#include "Keyboard.h"

#include <windows.h>

namespace lumora::sim {

namespace {

HANDLE Input() { return GetStdHandle(STD_INPUT_HANDLE); }

bool IsConsole(HANDLE input)
{
    DWORD mode = 0;
    return GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode);
}

// The characters of the keys pressed in a console, without waiting.
size_t ReadConsoleKeys(HANDLE input, unsigned char* buffer, size_t size)
{
    size_t n = 0;
    DWORD pending = 0;
    while (n < size && GetNumberOfConsoleInputEvents(input, &pending) && pending > 0) {
        INPUT_RECORD record;
        DWORD read = 0;
        if (!ReadConsoleInputA(input, &record, 1, &read) || read == 0) break;
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown &&
            record.Event.KeyEvent.uChar.AsciiChar != 0)
            buffer[n++] = static_cast<unsigned char>(record.Event.KeyEvent.uChar.AsciiChar);
    }
    return n;
}

}  // namespace

Keyboard::Keyboard() = default;
Keyboard::~Keyboard() = default;

size_t Keyboard::Read(unsigned char* buffer, size_t size)
{
    HANDLE input = Input();
    if (ended_ || size == 0 || input == nullptr || input == INVALID_HANDLE_VALUE) return 0;
    if (IsConsole(input)) return ReadConsoleKeys(input, buffer, size);
    if (GetFileType(input) == FILE_TYPE_PIPE) {
        DWORD available = 0;
        if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) {
            ended_ = true;  // the writer has gone
            return 0;
        }
        if (available == 0) return 0;
        if (available < size) size = available;
    } else if (GetFileType(input) != FILE_TYPE_DISK) {
        ended_ = true;
        return 0;
    }
    DWORD read = 0;
    if (!ReadFile(input, buffer, static_cast<DWORD>(size), &read, nullptr) || read == 0) ended_ = true;
    return read;
}

}  // namespace lumora::sim
