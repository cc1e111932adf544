#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <ostream>

#if defined(_WIN32)
#include <process.h>
#include <windows.h>
#define getpid _getpid
#else
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#endif

namespace lumora::test {

CapturePort::CapturePort(std::string name) : name_(std::move(name))
{
    const VirtualPort port{this, OnWrite, OnRead};
    EXPECT_TRUE(RegisterVirtualPort(name_.c_str(), &port));
}

CapturePort::~CapturePort() { UnregisterVirtualPort(name_.c_str()); }

Bytes CapturePort::AllBytes() const
{
    Bytes all;
    for (const Bytes& w : writes_) all.insert(all.end(), w.begin(), w.end());
    return all;
}

void CapturePort::OnWrite(void* context, const unsigned char* bytes, unsigned int count)
{
    static_cast<CapturePort*>(context)->writes_.emplace_back(bytes, bytes + count);
}

unsigned int CapturePort::OnRead(void* context, unsigned char* buffer, unsigned int size)
{
    auto& incoming = static_cast<CapturePort*>(context)->incoming_;
    unsigned int n = 0;
    while (n < size && !incoming.empty()) {
        buffer[n++] = incoming.front();
        incoming.pop_front();
    }
    return n;
}

void DeviceAccess::Write(DisplayDevice& d, int32_t row, int32_t column, const Bytes& text, int32_t length)
{
    (d.*(&DeviceAccess::DeviceWrite))(row, column, text.data(), length);
}

LineDevice::LineDevice(const std::string& port) { EXPECT_TRUE(SetPortName(port.c_str())) << port; }

void LineDevice::DeviceWrite(int32_t, int32_t, const unsigned char* text, int32_t length)
{
    WriteSerial(text, static_cast<unsigned int>(length > 0 ? length : 0));
}

void LineDevice::DeviceInput(unsigned char key)
{
    const char event[2] = {static_cast<char>(key), 0};
    DisplaySendEvent(event);
}

Bytes EveryByte()
{
    Bytes all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<unsigned char>(b));
    return all;
}

std::vector<std::string> ExchangeEveryByte(DisplayDevice& device, const std::function<void()>& answer)
{
    EXPECT_TRUE(device.StartInput()) << device.GetLastError();
    TakeEvents();
    const Bytes all = EveryByte();
    for (size_t at = 0; at < all.size(); at += 20) {
        const int part = static_cast<int>(std::min<size_t>(20, all.size() - at));
        EXPECT_TRUE(device.WriteText(0, 0, reinterpret_cast<const char*>(all.data()) + at, part));
    }
    answer();
    std::vector<std::string> events;
    const int64_t end = DisplayDevice::MonotonicMs() + 20000;
    while (events.size() < all.size() && DisplayDevice::MonotonicMs() < end) {
        device.Service();
        for (const std::string& e : TakeEvents()) events.push_back(e);
        WaitMs(10);
    }
    return events;
}

void ExpectEveryByteAsEvents(const std::vector<std::string>& events)
{
    ASSERT_EQ(events.size(), 256u);
    EXPECT_EQ(events[0], "");  // byte 0 ends the event string at once
    for (int b = 1; b < 256; ++b) EXPECT_EQ(events[b], std::string(1, static_cast<char>(b))) << "byte " << b;
}

LoadedDriver::LoadedDriver(const std::string& name)
{
    char error[512] = {};
    plugin_ = LoadPlugin(name.c_str(), error, sizeof error);
    EXPECT_NE(plugin_, nullptr) << error;
}

LoadedDriver::~LoadedDriver() { UnloadPlugin(plugin_); }

std::unique_ptr<DisplayDevice> LoadedDriver::Create(const char* model, HWND parent)
{
    return std::unique_ptr<DisplayDevice>(CreatePluginDevice(plugin_, parent, model));
}

std::vector<std::string> TakeEvents()
{
    std::vector<std::string> events;
    char buffer[256];
    while (NextEvent(buffer, sizeof buffer)) events.emplace_back(buffer);
    return events;
}

std::string IsolatedProfile(const std::string& name)
{
    const std::string profile = "test-" + std::to_string(getpid()) + "-" + name;
    EXPECT_TRUE(SetSettingsProfile(profile.c_str()));
    return profile;
}

std::string Hex(const Bytes& bytes)
{
    std::string out;
    char two[4];
    for (unsigned char b : bytes) {
        std::snprintf(two, sizeof two, "%s%02X", out.empty() ? "" : " ", b);
        out += two;
    }
    return out;
}

#if defined(_WIN32)
ResourceUse MeasureResources()
{
    ResourceUse use;
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    use.handles = static_cast<long>(handles);
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry{};
        if (!HeapLock(heaps[i])) continue;
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) use.heapBytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return use;
}
#else
ResourceUse MeasureResources()
{
    ResourceUse use;
    use.handles = static_cast<long>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
    use.heapBytes = mallinfo2().uordblks;
    return use;
}
#endif

std::ostream& operator<<(std::ostream& out, const ResourceUse& use)
{
    return out << use.handles << " handles, " << use.heapBytes << " heap bytes";
}

void ExpectOpeningsLeaveNothingBehind(DisplayDevice& device, int cycles, const std::function<void()>& afterEach)
{
    auto round = [&] {
        if (!device.Open()) return false;
        device.WriteText(0, 0, "cycle", 5);
        device.Close();
        if (afterEach) afterEach();
        return true;
    };
    ASSERT_TRUE(round()) << device.GetLastError();
    const ResourceUse before = MeasureResources();
    for (int i = 1; i < cycles; ++i) ASSERT_TRUE(round()) << "opening " << i << ": " << device.GetLastError();
    EXPECT_EQ(MeasureResources(), before) << "after " << cycles << " openings";
}

void ForEachWayOfCreating(LoadedDriver& driver, const std::function<void(DisplayDevice&)>& check)
{
    int anything = 0;
    for (const char* model : {static_cast<const char*>(nullptr), "LK204", ""}) {
        for (HWND parent : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(&anything)}) {
            auto d = driver.Create(model, parent);
            ASSERT_NE(d, nullptr);
            check(*d);
        }
    }
}

ScopedEnvironment::ScopedEnvironment(std::string name, const char* value) : name_(std::move(name))
{
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    Set(value);
}

ScopedEnvironment::~ScopedEnvironment() { Set(old_ ? old_->c_str() : nullptr); }

// On Windows an empty value removes the variable.
void ScopedEnvironment::Set(const char* value)
{
#if defined(_WIN32)
    _putenv_s(name_.c_str(), value != nullptr ? value : "");
#else
    if (value != nullptr)
        setenv(name_.c_str(), value, 1);
    else
        unsetenv(name_.c_str());
#endif
}

}  // namespace lumora::test
