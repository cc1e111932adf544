// What each finch operation costs: LCDriver calls and heap allocations per
// operation (counted, not timed), and the CPU time Google Benchmark measures,
// our LCDriver library's work on its virtual display included.
#include <cstdlib>

#include "SerialBench.h"
#include "lcdriver/LCDriver.h"

namespace {

using lumora::bench::allocations;
using lumora::bench::countingAllocations;
using lumora::bench::Driver;

long calls = 0;

void LCDRIVER_CALL CountCall(void*, const LCDriverCall*) { ++calls; }

class Finch {
public:
    Finch()
    {
        char error[256];
        plugin_ = lumora::LoadPlugin("finch", error, sizeof error);
        if (plugin_ == nullptr) std::abort();
        device_ = lumora::CreatePluginDevice(plugin_, nullptr, nullptr);
        if (!device_->Open()) std::abort();
        LCDriverVirtualObserve(CountCall, nullptr);
    }
    ~Finch()
    {
        LCDriverVirtualForget(CountCall, nullptr);
        device_->Close();
        delete device_;
        lumora::UnloadPlugin(plugin_);
    }
    DisplayDevice& Device() { return *device_; }

private:
    lumora::Plugin* plugin_;
    DisplayDevice* device_;
};

// Runs op once per iteration, after prepare, and reports its counts per
// operation.
template <typename Op>
void Measure(
    benchmark::State& state, Op op, void (*prepare)(DisplayDevice&) = [](DisplayDevice&) {})
{
    Finch finch;
    prepare(finch.Device());
    calls = 0;
    allocations = 0;
    countingAllocations = true;
    for (auto _ : state) op(finch.Device());
    countingAllocations = false;
    const double n = static_cast<double>(state.iterations());
    state.counters["LCDriver calls"] = static_cast<double>(calls) / n;
    state.counters["allocations"] = static_cast<double>(allocations.load()) / n;
}

void WriteRow(benchmark::State& state)
{
    const unsigned char row[20] = {'T', 'e', 'm', 'p', 'e', 'r', 'a', 't', 'u', 'r',
                                   'e', ':', ' ', '2', '1', '.', '5', ' ', 'C', ' '};
    Measure(state, [&](DisplayDevice& d) { Driver::Write(d, 1, 0, row, 20); });
}

void Clear(benchmark::State& state)
{
    Measure(state, [](DisplayDevice& d) { Driver::Clear(d); });
}

void SetCustomChar(benchmark::State& state)
{
    const unsigned char bitmap[8] = {};
    Measure(state, [&](DisplayDevice& d) { Driver::SetCustomChar(d, 3, bitmap); });
}

// Through the host, which copies the text and calls DeviceSetMarquee and
// DeviceClearMarquee; LCDriver keeps its own copy.
void StartAndStopMarquee(benchmark::State& state)
{
    const char text[] = "Breaking news: the marquee runs in LCDriver";
    Measure(state, [&](DisplayDevice& d) {
        d.StartMarquee(2, 1, 250, text, sizeof text - 1);
        d.StopMarquee();
    });
}

void OpenAndClose(benchmark::State& state)
{
    Measure(state, [](DisplayDevice& d) {
        Driver::Close(d);
        Driver::Open(d);
    });
}

// What the program's view pays to look at the display while LCDriver's
// marquee runs: the 80 cells with the marquee's row at its current step.
void ReadDisplayWithMarquee(benchmark::State& state)
{
    unsigned char cells[80];
    Measure(
        state,
        [&](DisplayDevice&) {
            LCDriverVirtualGetCells(cells, sizeof cells);
            benchmark::DoNotOptimize(cells);
        },
        [](DisplayDevice& d) { d.StartMarquee(2, 1, 250, "Breaking news", 13); });
}

BENCHMARK(WriteRow);
BENCHMARK(Clear);
BENCHMARK(SetCustomChar);
BENCHMARK(StartAndStopMarquee);
BENCHMARK(OpenAndClose);
BENCHMARK(ReadDisplayWithMarquee);

}  // namespace

BENCHMARK_MAIN();
