// What each plover operation costs: bytes handed to WriteSerial, WriteSerial
// calls and heap allocations per operation (counted, not timed), and the CPU
// time Google Benchmark measures.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "Host.h"
#include "lumora/DisplayDevice.h"

namespace {

std::atomic<long> allocations{0};
bool counting = false;

struct Counts {
    long bytes = 0;
    long writes = 0;
};
Counts wire;

void CountWrite(void*, const unsigned char*, unsigned int count)
{
    wire.bytes += count;
    ++wire.writes;
}

// Calls the driver's protected operations directly, as the host does.
struct Driver : DisplayDevice {
    static void Write(DisplayDevice& d, const unsigned char* text, int length)
    {
        (d.*(&Driver::DeviceWrite))(1, 0, text, length);
    }
    static void Clear(DisplayDevice& d) { (d.*(&Driver::DeviceClear))(); }
    static void SetCustomChar(DisplayDevice& d, const unsigned char* bitmap)
    {
        (d.*(&Driver::DeviceSetCustomChar))(3, bitmap);
    }
    static int32_t Open(DisplayDevice& d) { return (d.*(&Driver::DeviceOpen))(); }
    static void Close(DisplayDevice& d) { (d.*(&Driver::DeviceClose))(); }
};

class Plover {
public:
    Plover()
    {
        const lumora::VirtualPort port{nullptr, CountWrite, nullptr};
        lumora::RegisterVirtualPort("bench", &port);
        char error[256];
        plugin_ = lumora::LoadPlugin("plover", error, sizeof error);
        if (plugin_ == nullptr) std::abort();
        device_ = lumora::CreatePluginDevice(plugin_, nullptr, nullptr);
        device_->SetPortName("bench");
        device_->Open();
    }
    ~Plover()
    {
        device_->Close();
        delete device_;
        lumora::UnloadPlugin(plugin_);
    }
    DisplayDevice& Device() { return *device_; }

private:
    lumora::Plugin* plugin_;
    DisplayDevice* device_;
};

// Runs op once per iteration and reports its counts per operation.
template <typename Op>
void Measure(benchmark::State& state, Op op)
{
    Plover plover;
    wire = {};
    allocations = 0;
    counting = true;
    for (auto _ : state) op(plover.Device());
    counting = false;
    const double n = static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(wire.bytes) / n;
    state.counters["WriteSerial"] = static_cast<double>(wire.writes) / n;
    state.counters["allocations"] = static_cast<double>(allocations.load()) / n;
}

void WriteRow(benchmark::State& state)
{
    const unsigned char row[20] = {'T', 'e', 'm', 'p', 'e', 'r', 'a', 't', 'u', 'r',
                                   'e', ':', ' ', '2', '1', '.', '5', ' ', 'C', ' '};
    Measure(state, [&](DisplayDevice& d) { Driver::Write(d, row, 20); });
}

void WriteLongText(benchmark::State& state)
{
    unsigned char text[300] = {};
    Measure(state, [&](DisplayDevice& d) { Driver::Write(d, text, 300); });
}

void Clear(benchmark::State& state)
{
    Measure(state, [](DisplayDevice& d) { Driver::Clear(d); });
}

void SetCustomChar(benchmark::State& state)
{
    const unsigned char bitmap[8] = {};
    Measure(state, [&](DisplayDevice& d) { Driver::SetCustomChar(d, bitmap); });
}

void OpenAndClose(benchmark::State& state)
{
    Measure(state, [](DisplayDevice& d) {
        Driver::Close(d);
        Driver::Open(d);
    });
}

BENCHMARK(WriteRow);
BENCHMARK(WriteLongText);
BENCHMARK(Clear);
BENCHMARK(SetCustomChar);
BENCHMARK(OpenAndClose);

}  // namespace

// Every heap allocation in the process while an operation is measured. The
// replacements allocate with malloc and free with free, which GCC cannot see
// through when it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

BENCHMARK_MAIN();
