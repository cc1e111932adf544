#include "SerialBench.h"

#include <cstdlib>

namespace lumora::bench {

Wire wire;

namespace {
void CountWrite(void*, const unsigned char*, unsigned int count)
{
    wire.bytes += count;
    ++wire.writes;
}

void CountWait(void*, int ms) { wire.waitedMs += ms; }
}  // namespace

OpenDisplay::OpenDisplay(const char* driver, const char* model)
{
    const VirtualPort port{nullptr, CountWrite, nullptr};
    RegisterVirtualPort("bench", &port);
    SetWaitFunction(CountWait, nullptr);
    char error[256];
    plugin_ = LoadPlugin(driver, error, sizeof error);
    if (plugin_ == nullptr) std::abort();
    device_ = CreatePluginDevice(plugin_, nullptr, model);
    if (device_ == nullptr || !device_->SetPortName("bench") || !device_->Open()) std::abort();
}

OpenDisplay::~OpenDisplay()
{
    device_->Close();
    delete device_;
    UnloadPlugin(plugin_);
    SetWaitFunction(nullptr, nullptr);
    UnregisterVirtualPort("bench");
}

}  // namespace lumora::bench
