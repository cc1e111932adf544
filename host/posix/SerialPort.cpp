// Serial ports on POSIX systems: a tty device in raw mode, 8 data bits, no
// parity, 1 stop bit, no software flow control, every byte 0x00-0xFF as it is.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "../PortName.h"
#include "../SerialPort.h"

namespace lumora::detail {

namespace {

// How long a write may wait for the device to take more bytes before the port
// counts as failed (a display that stopped reading, a cable pulled).
constexpr int kWriteStallMs = 2000;

bool BaudConstant(int baud, speed_t& speed)
{
    static const struct {
        int baud;
        speed_t speed;
    } kRates[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},    {19200, B19200},
                  {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400}};
    for (const auto& rate : kRates) {
        if (rate.baud == baud) {
            speed = rate.speed;
            return true;
        }
    }
    return false;
}

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    ~PosixSerialPort() override { close(fd_); }

    bool Write(const unsigned char* bytes, size_t count, std::string& error) override
    {
        size_t done = 0;
        while (done < count) {
            const ssize_t n = write(fd_, bytes + done, count - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd p{fd_, POLLOUT, 0};
                const int ready = poll(&p, 1, kWriteStallMs);
                if (ready > 0 && !(p.revents & (POLLERR | POLLHUP | POLLNVAL))) continue;
                if (ready == 0) {
                    error = "port " + name_ + ": the device stopped taking data";
                    return false;
                }
            }
            error = "port " + name_ + ": " + std::strerror(n < 0 ? errno : EIO);
            return false;
        }
        return true;
    }

    long Read(unsigned char* buffer, size_t size, std::string& error) override
    {
        for (;;) {
            const ssize_t n = read(fd_, buffer, size);
            if (n > 0) return static_cast<long>(n);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
            // End of file or an error: the other end is gone.
            error = "port " + name_ + ": " + (n == 0 ? "the device went away" : std::strerror(errno));
            return -1;
        }
    }

private:
    int fd_;
    std::string name_;
};

}  // namespace

std::unique_ptr<SerialPort> OpenPlatformSerialPort(const std::string& name, int baudRate, int option,
                                                   std::string& error)
{
    std::string path;
    if (!PosixDevicePath(name, path, error)) return nullptr;
    speed_t speed;
    if (!BaudConstant(baudRate, speed)) {
        error = "port " + name + ": " + std::to_string(baudRate) + " bit/s is not a supported speed";
        return nullptr;
    }
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open port " + name + " (" + path + "): " + std::strerror(errno);
        return nullptr;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        error = "port " + name + " (" + path + ") is not a serial port: " + std::strerror(errno);
        close(fd);
        return nullptr;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (option & 1) tio.c_cflag |= CRTSCTS;  // option 1: RTS/CTS handshaking
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // With VMIN 0 a read of an idle line returns 0, which cannot be told from
    // the line going away; with VMIN 1 and O_NONBLOCK it fails with EAGAIN.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        error = "cannot set up port " + name + " (" + path + "): " + std::strerror(errno);
        close(fd);
        return nullptr;
    }
    ioctl(fd, TIOCEXCL);  // one program at a time on a port
    return std::make_unique<PosixSerialPort>(fd, name);
}

}  // namespace lumora::detail
