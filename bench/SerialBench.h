// What the serial drivers' benchmarks share: a virtual port that counts what
// WriteSerial is handed, a count of the heap allocations in the process and of
// the time drivers ask the host to wait (counted, not slept), access to a
// driver's protected operations, and a loop that reports those counts per
// operation beside the CPU time Google Benchmark measures.
#pragma once

#include <benchmark/benchmark.h>

#include "CountedAllocations.h"
#include "Host.h"
#include "lumora/DisplayDevice.h"

namespace lumora::bench {

struct Wire {
    long bytes = 0;
    long writes = 0;
    long waitedMs = 0;  // through the host's WaitMs
};
extern Wire wire;

// Calls a driver's protected operations directly, as the host does.
struct Driver : DisplayDevice {
    static void Write(DisplayDevice& d, int32_t row, int32_t column, const unsigned char* text, int32_t length)
    {
        (d.*(&Driver::DeviceWrite))(row, column, text, length);
    }
    static void Clear(DisplayDevice& d) { (d.*(&Driver::DeviceClear))(); }
    static void SetCustomChar(DisplayDevice& d, int32_t index, const unsigned char* bitmap)
    {
        (d.*(&Driver::DeviceSetCustomChar))(index, bitmap);
    }
    static int32_t Open(DisplayDevice& d) { return (d.*(&Driver::DeviceOpen))(); }
    static void Close(DisplayDevice& d) { (d.*(&Driver::DeviceClose))(); }
    static void SetGPO(DisplayDevice& d, int32_t gpo, int32_t on) { (d.*(&Driver::DeviceSetGPO))(gpo, on); }
    static void Input(DisplayDevice& d, unsigned char key) { (d.*(&Driver::DeviceInput))(key); }
};

// A driver's display, open on the counting port "bench"; the host's waits are
// counted instead of slept while it lives.
class OpenDisplay {
public:
    OpenDisplay(const char* driver, const char* model);
    ~OpenDisplay();
    OpenDisplay(const OpenDisplay&) = delete;
    OpenDisplay& operator=(const OpenDisplay&) = delete;
    DisplayDevice& Device() { return *device_; }

private:
    Plugin* plugin_;
    DisplayDevice* device_;
};

// Runs op once per iteration on an open display of the driver and model, and
// reports its bytes, WriteSerial calls and allocations per operation.
template <typename Op>
void Measure(benchmark::State& state, const char* driver, const char* model, Op op)
{
    OpenDisplay display(driver, model);
    wire = {};
    allocations = 0;
    countingAllocations = true;
    for (auto _ : state) op(display.Device());
    countingAllocations = false;
    const double n = static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(wire.bytes) / n;
    state.counters["WriteSerial"] = static_cast<double>(wire.writes) / n;
    state.counters["allocations"] = static_cast<double>(allocations.load()) / n;
    if (wire.waitedMs > 0) state.counters["wait_ms"] = static_cast<double>(wire.waitedMs) / n;
}

}  // namespace lumora::bench
