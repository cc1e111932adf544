// What each plover operation costs: bytes handed to WriteSerial, WriteSerial
// calls and heap allocations per operation (counted, not timed), and the CPU
// time Google Benchmark measures.
#include "SerialBench.h"

namespace {

using lumora::bench::Driver;
using lumora::bench::Measure;

template <typename Op>
void MeasurePlover(benchmark::State& state, Op op)
{
    Measure(state, "plover", nullptr, op);
}

void WriteRow(benchmark::State& state)
{
    const unsigned char row[20] = {'T', 'e', 'm', 'p', 'e', 'r', 'a', 't', 'u', 'r',
                                   'e', ':', ' ', '2', '1', '.', '5', ' ', 'C', ' '};
    MeasurePlover(state, [&](DisplayDevice& d) { Driver::Write(d, 1, 0, row, 20); });
}

void WriteLongText(benchmark::State& state)
{
    unsigned char text[300] = {};
    MeasurePlover(state, [&](DisplayDevice& d) { Driver::Write(d, 1, 0, text, 300); });
}

void Clear(benchmark::State& state)
{
    MeasurePlover(state, [](DisplayDevice& d) { Driver::Clear(d); });
}

void SetCustomChar(benchmark::State& state)
{
    const unsigned char bitmap[8] = {};
    MeasurePlover(state, [&](DisplayDevice& d) { Driver::SetCustomChar(d, 3, bitmap); });
}

void OpenAndClose(benchmark::State& state)
{
    MeasurePlover(state, [](DisplayDevice& d) {
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

BENCHMARK_MAIN();
