// Shared pieces of the test suites: a capture port at the host's serial layer,
// access to a driver's protected operations, and loading the built drivers.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Host.h"
#include "lumora/DisplayDevice.h"

namespace lumora::test {

using Bytes = std::vector<unsigned char>;

// A virtual serial port that records every WriteSerial call as one chunk and
// hands queued bytes to the host as if the display had sent them.
class CapturePort {
public:
    explicit CapturePort(std::string name = "capture");
    ~CapturePort();
    CapturePort(const CapturePort&) = delete;
    CapturePort& operator=(const CapturePort&) = delete;

    const std::string& Name() const { return name_; }
    const std::vector<Bytes>& Writes() const { return writes_; }
    Bytes AllBytes() const;
    void Forget() { writes_.clear(); }
    void Receive(const Bytes& bytes) { incoming_.insert(incoming_.end(), bytes.begin(), bytes.end()); }

private:
    static void OnWrite(void* context, const unsigned char* bytes, unsigned int count);
    static unsigned int OnRead(void* context, unsigned char* buffer, unsigned int size);

    std::string name_;
    std::vector<Bytes> writes_;
    std::deque<unsigned char> incoming_;
};

// Calls a driver's protected operations directly, as the host does.
struct DeviceAccess : DisplayDevice {
    static void Write(DisplayDevice& d, int32_t row, int32_t column, const Bytes& text, int32_t length);
    static void SetCustomChar(DisplayDevice& d, int32_t index, const unsigned char* bitmap)
    {
        (d.*(&DeviceAccess::DeviceSetCustomChar))(index, bitmap);
    }
    static int32_t Open(DisplayDevice& d) { return (d.*(&DeviceAccess::DeviceOpen))(); }
    static void Close(DisplayDevice& d) { (d.*(&DeviceAccess::DeviceClose))(); }
    static void Clear(DisplayDevice& d) { (d.*(&DeviceAccess::DeviceClear))(); }
    static void Input(DisplayDevice& d, unsigned char key) { (d.*(&DeviceAccess::DeviceInput))(key); }
    static void SetWidth(DisplayDevice& d, int32_t columns) { d.*(&DeviceAccess::width) = columns; }
};

// A plain serial driver for tests of the serial line: text goes out as it is,
// each received byte comes back as an event.
class LineDevice : public DisplayDevice {
public:
    explicit LineDevice(const std::string& port);

protected:
    void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) override;
    void DeviceSetCustomChar(int32_t, const unsigned char*) override {}
    int32_t DeviceOpen() override { return OpenSerial(serialOption); }
    void DeviceClose() override { CloseSerial(); }
    void DeviceClear() override {}
    int32_t DeviceEnableInput() override { return EnableSerialInput(); }
    void DeviceDisableInput() override { DisableSerialInput(); }
    void DeviceInput(unsigned char key) override;
};

// The byte values 0 to 255 in order.
Bytes EveryByte();
// Over an open LineDevice: enables input, sends every byte value (a row of 20
// at a time), lets answer play the other end (it is to send every byte value
// back), then collects events until 256 have come or 20 s have passed.
std::vector<std::string> ExchangeEveryByte(DisplayDevice& device, const std::function<void()>& answer);
// Each received byte value became exactly one event, in order.
void ExpectEveryByteAsEvents(const std::vector<std::string>& events);

// A driver library from the build, loaded next to the test programs.
class LoadedDriver {
public:
    explicit LoadedDriver(const std::string& name);
    ~LoadedDriver();
    LoadedDriver(const LoadedDriver&) = delete;
    LoadedDriver& operator=(const LoadedDriver&) = delete;

    // A new object from CreateDisplayDevice, deleted through its virtual destructor.
    std::unique_ptr<DisplayDevice> Create(const char* model = nullptr, HWND parent = nullptr);

private:
    Plugin* plugin_;
};

// Takes every queued event.
std::vector<std::string> TakeEvents();

// A settings profile of this test process alone, so that tests never meet a
// person's settings or each other's.
std::string IsolatedProfile(const std::string& name);

std::string Hex(const Bytes& bytes);

// What the process holds: open handles (file descriptors off Windows) and the
// bytes allocated on its heaps. Equal before and after a repeated operation
// means the operation leaves nothing behind.
struct ResourceUse {
    long handles = 0;
    size_t heapBytes = 0;
    bool operator==(const ResourceUse&) const = default;
};
ResourceUse MeasureResources();
std::ostream& operator<<(std::ostream& out, const ResourceUse& use);

// Opens the device, writes a little and closes it, cycles times over, and
// expects the process to hold no more afterwards than after the first round.
// afterEach runs after every round (to drain a line, for instance).
void ExpectOpeningsLeaveNothingBehind(DisplayDevice& device, int cycles, const std::function<void()>& afterEach = {});

// Calls check with an object created with each kind of model name (null,
// empty, a name) and parent window (null, not null).
void ForEachWayOfCreating(LoadedDriver& driver, const std::function<void(DisplayDevice&)>& check);

// Sets an environment variable (unsets it, with a null value) for the life of
// the object, then gives it back its old value.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const char* value);

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace lumora::test
