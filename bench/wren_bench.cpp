// What each wren operation costs, seen through DlPortIO's observer: port
// writes and waits per operation and per character, the time those waits
// take with the default delays (on a fake clock, so that nothing sleeps),
// heap allocations (counted, not timed), and the CPU time Google Benchmark
// measures.
#include <benchmark/benchmark.h>

#include "CountedAllocations.h"
#include "DlPortIO.h"
#include "HD44780Device.h"
#include "Pause.h"

namespace {

int64_t fakeNowMs = 0;

// Every port write; a wait is a stretch of fake time between two writes.
struct Observed {
    long writes = 0;
    long waits = 0;
    int64_t lastWriteAt = 0;
};
Observed observed;

void Observe(void*, uint32_t, uint8_t)
{
    if (fakeNowMs != observed.lastWriteAt) ++observed.waits;
    observed.lastWriteAt = fakeNowMs;
    ++observed.writes;
}

// Calls the driver's protected operations directly, as the host does.
struct Driver : DisplayDevice {
    static void Write(DisplayDevice& d, int32_t row, const unsigned char* text, int32_t length)
    {
        (d.*(&Driver::DeviceWrite))(row, 0, text, length);
    }
    static void Clear(DisplayDevice& d) { (d.*(&Driver::DeviceClear))(); }
    static void SetCustomChar(DisplayDevice& d, const unsigned char* bitmap)
    {
        (d.*(&Driver::DeviceSetCustomChar))(3, bitmap);
    }
    static int32_t Open(DisplayDevice& d) { return (d.*(&Driver::DeviceOpen))(); }
    static void Close(DisplayDevice& d) { (d.*(&Driver::DeviceClose))(); }
};

// Runs op once per iteration on an open display of the given size (default
// delays) and reports its counts per operation and per character.
template <typename Op>
void Measure(benchmark::State& state, int columns, int rows, long characters, Op op)
{
    HD44780Device device;
    device.SetSize(columns, rows);
    device.Open();
    DlPortAddObserver(Observe, nullptr);
    observed = {};
    fakeNowMs = 0;
    lumora::bench::allocations = 0;
    lumora::bench::countingAllocations = true;
    for (auto _ : state) op(device);
    lumora::bench::countingAllocations = false;
    if (fakeNowMs != observed.lastWriteAt) ++observed.waits;  // the wait after the last write
    DlPortRemoveObserver(Observe, nullptr);
    device.Close();
    const double n = static_cast<double>(state.iterations());
    state.counters["port_writes"] = static_cast<double>(observed.writes) / n;
    state.counters["waits"] = static_cast<double>(observed.waits) / n;
    state.counters["wait_ms"] = static_cast<double>(fakeNowMs) / n;
    state.counters["allocations"] = static_cast<double>(lumora::bench::allocations.load()) / n;
    if (characters > 0) {
        state.counters["writes/char"] = static_cast<double>(observed.writes) / n / static_cast<double>(characters);
        state.counters["waits/char"] = static_cast<double>(observed.waits) / n / static_cast<double>(characters);
    }
}

const unsigned char kRow[40] = {'T', 'e', 'm', 'p', 'e', 'r', 'a', 't', 'u', 'r', 'e', ':', ' ', '2',
                                '1', '.', '5', ' ', 'C', ' ', 'H', 'u', 'm', 'i', 'd', 'i', 't', 'y',
                                ':', ' ', '4', '5', ' ', '%', ' ', ' ', ' ', ' ', ' ', ' '};

void WriteRow20(benchmark::State& state)
{
    Measure(state, 20, 4, 20, [](DisplayDevice& d) { Driver::Write(d, 1, kRow, 20); });
}

// Every row of a 20 x 4 display written anew, as a program refreshes it.
void Refresh20x4(benchmark::State& state)
{
    Measure(state, 20, 4, 80, [](DisplayDevice& d) {
        for (int32_t row = 0; row < 4; ++row) Driver::Write(d, row, kRow, 20);
    });
}

void Refresh40x4(benchmark::State& state)
{
    Measure(state, 40, 4, 160, [](DisplayDevice& d) {
        for (int32_t row = 0; row < 4; ++row) Driver::Write(d, row, kRow, 40);
    });
}

void Clear40x4(benchmark::State& state)
{
    Measure(state, 40, 4, 0, [](DisplayDevice& d) { Driver::Clear(d); });
}

void SetCustomChar40x4(benchmark::State& state)
{
    const unsigned char bitmap[8] = {0x04, 0x0E, 0x1F, 0x04, 0x04, 0x04, 0x04, 0x00};
    Measure(state, 40, 4, 0, [&](DisplayDevice& d) { Driver::SetCustomChar(d, bitmap); });
}

void OpenAndClose40x4(benchmark::State& state)
{
    Measure(state, 40, 4, 0, [](DisplayDevice& d) {
        Driver::Close(d);
        Driver::Open(d);
    });
}

BENCHMARK(WriteRow20);
BENCHMARK(Refresh20x4);
BENCHMARK(Refresh40x4);
BENCHMARK(Clear40x4);
BENCHMARK(SetCustomChar40x4);
BENCHMARK(OpenAndClose40x4);

}  // namespace

// The driver waits on the fake clock: time passes only in the count.
void wren::Pause(int32_t ms) { fakeNowMs += ms; }

BENCHMARK_MAIN();
