// Serial ports on Windows: COM ports at 8 data bits, no parity, 1 stop bit, no
// flow control unless asked for, binary (no byte 0x00-0xFF is translated).
#include <windows.h>

#include "../SerialPort.h"
#include "Win32Error.h"

namespace lumora::detail {

namespace {

// How long a write may take before the port counts as failed.
constexpr DWORD kWriteTimeoutMs = 2000;

class Win32SerialPort final : public SerialPort {
public:
    Win32SerialPort(HANDLE handle, std::string name) : handle_(handle), name_(std::move(name)) {}
    ~Win32SerialPort() override { CloseHandle(handle_); }

    bool Write(const unsigned char* bytes, size_t count, std::string& error) override
    {
        size_t done = 0;
        while (done < count) {
            DWORD written = 0;
            if (!WriteFile(handle_, bytes + done, static_cast<DWORD>(count - done), &written, nullptr)) {
                error = "port " + name_ + ": " + Win32ErrorText(GetLastError());
                return false;
            }
            if (written == 0) {
                error = "port " + name_ + ": the device stopped taking data";
                return false;
            }
            done += written;
        }
        return true;
    }

    long Read(unsigned char* buffer, size_t size, std::string& error) override
    {
        DWORD got = 0;
        if (!ReadFile(handle_, buffer, static_cast<DWORD>(size), &got, nullptr)) {
            error = "port " + name_ + ": " + Win32ErrorText(GetLastError());
            return -1;
        }
        return static_cast<long>(got);
    }

private:
    HANDLE handle_;
    std::string name_;
};

}  // namespace

std::unique_ptr<SerialPort> OpenPlatformSerialPort(const std::string& name, int baudRate, int option,
                                                   std::string& error)
{
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
        error = "port " + name + ": not a port name (for example COM3)";
        return nullptr;
    }
    const std::string path = "\\\\.\\" + name;  // also reaches COM10 and above
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = "cannot open port " + name + ": " + Win32ErrorText(GetLastError());
        return nullptr;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(handle, &dcb);
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = (option & 1) ? TRUE : FALSE;  // option 1: RTS/CTS handshaking
    dcb.fRtsControl = (option & 1) ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(handle, &dcb)) {
        error = "cannot set up port " + name + ": " + Win32ErrorText(GetLastError());
        CloseHandle(handle);
        return nullptr;
    }
    // Reads return at once with what has arrived; writes give up after a while.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    SetCommTimeouts(handle, &timeouts);
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return std::make_unique<Win32SerialPort>(handle, name);
}

}  // namespace lumora::detail
