// What each heron operation costs on an LK204 (a keypad model, so the opening
// carries the debounce command): bytes handed to WriteSerial, WriteSerial calls
// and heap allocations per operation (counted, not timed), and the CPU time
// Google Benchmark measures.
#include "SerialBench.h"

namespace {

using lumora::bench::Driver;
using lumora::bench::Measure;

template <typename Op>
void MeasureHeron(benchmark::State& state, Op op)
{
    Measure(state, "heron", "LK204", op);
}

const unsigned char kRow[20] = {'T', 'e', 'm', 'p', 'e', 'r', 'a', 't', 'u', 'r',
                                'e', ':', ' ', '2', '1', '.', '5', ' ', 'C', ' '};

void WriteRow(benchmark::State& state)
{
    MeasureHeron(state, [](DisplayDevice& d) { Driver::Write(d, 1, 0, kRow, 20); });
}

void WriteRowAtHome(benchmark::State& state)
{
    MeasureHeron(state, [](DisplayDevice& d) { Driver::Write(d, 0, 0, kRow, 20); });
}

void WriteLongText(benchmark::State& state)
{
    unsigned char text[300] = {};
    MeasureHeron(state, [&](DisplayDevice& d) { Driver::Write(d, 1, 0, text, 300); });
}

void Clear(benchmark::State& state)
{
    MeasureHeron(state, [](DisplayDevice& d) { Driver::Clear(d); });
}

void SetCustomChar(benchmark::State& state)
{
    const unsigned char bitmap[8] = {0x04, 0x0E, 0x1F, 0x04, 0x04, 0x04, 0x04, 0x00};
    MeasureHeron(state, [&](DisplayDevice& d) { Driver::SetCustomChar(d, 3, bitmap); });
}

void SetOutput(benchmark::State& state)
{
    int on = 0;
    MeasureHeron(state, [&](DisplayDevice& d) { Driver::SetGPO(d, 3, on ^= 1); });
}

// A key received, handed to the host as an event, and taken by the program.
void KeyEvent(benchmark::State& state)
{
    MeasureHeron(state, [](DisplayDevice& d) {
        Driver::Input(d, 'A');
        char event[8];
        lumora::NextEvent(event, sizeof event);
    });
}

void OpenAndClose(benchmark::State& state)
{
    MeasureHeron(state, [](DisplayDevice& d) {
        Driver::Close(d);
        Driver::Open(d);
    });
}

BENCHMARK(WriteRow);
BENCHMARK(WriteRowAtHome);
BENCHMARK(WriteLongText);
BENCHMARK(Clear);
BENCHMARK(SetCustomChar);
BENCHMARK(SetOutput);
BENCHMARK(KeyEvent);
BENCHMARK(OpenAndClose);

}  // namespace

BENCHMARK_MAIN();
