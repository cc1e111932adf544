#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
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

}  // namespace lumora::test
