#include "SerialBench.h"

#include <cstdlib>
#include <new>

namespace lumora::bench {

Wire wire;
std::atomic<long> allocations{0};
bool countingAllocations = false;

namespace {
void CountWrite(void*, const unsigned char*, unsigned int count)
{
    wire.bytes += count;
    ++wire.writes;
}
}  // namespace

OpenDisplay::OpenDisplay(const char* driver, const char* model)
{
    const VirtualPort port{nullptr, CountWrite, nullptr};
    RegisterVirtualPort("bench", &port);
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
    UnregisterVirtualPort("bench");
}

}  // namespace lumora::bench

// Every heap allocation in the process while an operation is measured. The
// replacements allocate with malloc and free with free, which GCC cannot see
// through when it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    if (lumora::bench::countingAllocations) ++lumora::bench::allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (lumora::bench::countingAllocations) ++lumora::bench::allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
