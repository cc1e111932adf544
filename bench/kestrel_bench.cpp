// What each kestrel operation costs: bytes handed to WriteSerial, WriteSerial
// calls, heap allocations and the host wait asked for, per operation (counted,
// not timed; the wait is counted instead of slept), and the CPU time Google
// Benchmark measures.
#include <cstring>

#include "SerialBench.h"

namespace {

using lumora::bench::Driver;

// A 634 with a backlight: 20 x 4.
template <typename Op>
void Measure(benchmark::State& state, Op op)
{
    lumora::bench::Measure(state, "kestrel", "634SG", op);
}

// Calls the marquee operations directly, after setting the marquee fields as
// the host does.
struct Marquee : DisplayDevice {
    static void Start(DisplayDevice& d, unsigned char* text, int32_t length)
    {
        d.*(&Marquee::marqueeText) = text;
        d.*(&Marquee::marqueeLength) = length;
        d.*(&Marquee::marqueeRow) = 1;
        d.*(&Marquee::marqueeShift) = 1;
        d.*(&Marquee::marqueeDelay) = 100;
        (d.*(&Marquee::DeviceSetMarquee))();
    }
    static void Stop(DisplayDevice& d) { (d.*(&Marquee::DeviceClearMarquee))(); }
};

void WriteRow(benchmark::State& state)
{
    const unsigned char row[] = "Temperature: 21.5 C ";
    Measure(state, [&](DisplayDevice& d) { Driver::Write(d, 1, 0, row, 20); });
}

// Every byte below 32: each goes out as a three-byte escape.
void WriteEscapedRow(benchmark::State& state)
{
    unsigned char row[20];
    for (int i = 0; i < 20; ++i) row[i] = static_cast<unsigned char>(i + 8);
    Measure(state, [&](DisplayDevice& d) { Driver::Write(d, 1, 0, row, 20); });
}

// 100 escaped bytes: 300 bytes of text, more than one buffer holds.
void WriteLongEscapedText(benchmark::State& state)
{
    unsigned char text[100];
    std::memset(text, 0x1F, sizeof text);
    Measure(state, [&](DisplayDevice& d) { Driver::Write(d, 1, 0, text, 100); });
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

// 30 bytes of text: the row's 20, then 10 of the 20 marquee characters.
void StartMarquee(benchmark::State& state)
{
    unsigned char text[] = "Breaking: the marquee runs by ";
    Measure(state, [&](DisplayDevice& d) { Marquee::Start(d, text, 30); });
}

void StopMarquee(benchmark::State& state)
{
    Measure(state, [](DisplayDevice& d) { Marquee::Stop(d); });
}

void OpenAndClose(benchmark::State& state)
{
    Measure(state, [](DisplayDevice& d) {
        Driver::Close(d);
        Driver::Open(d);
    });
}

BENCHMARK(WriteRow);
BENCHMARK(WriteEscapedRow);
BENCHMARK(WriteLongEscapedText);
BENCHMARK(Clear);
BENCHMARK(SetCustomChar);
BENCHMARK(StartMarquee);
BENCHMARK(StopMarquee);
BENCHMARK(OpenAndClose);

}  // namespace

BENCHMARK_MAIN();
