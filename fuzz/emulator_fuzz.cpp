// Every emulator decodes any byte stream without failing: whatever arrives, its
// cells stay inside its geometry and its status can be drawn.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Emulator.h"
#include "TerminalView.h"

namespace {

struct Kind {
    const char* driver;
    const char* model;
    int columns;
    int rows;
};

// The emulators that take bytes from a serial line.
const Kind kKinds[] = {
    {"plover", "", 20, 4},
    // heron: a keypad model, the widest, the smallest and a geometry no module has.
    {"heron", "LK204", 20, 4},
    {"heron", "LCD4041", 40, 4},
    {"heron", "LK162", 16, 2},
    {"heron", "", 0, 9},
    {"kestrel", "634SG", 20, 4},
    {"kestrel", "632SS", 16, 2},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const Kind& kind = kKinds[input.ConsumeIntegralInRange<size_t>(0, std::size(kKinds) - 1)];
    std::unique_ptr<lumora::sim::Emulator> emulator =
        lumora::sim::CreateEmulator(kind.driver, kind.model, kind.columns, kind.rows);
    if (!emulator) std::abort();
    int64_t now = 0;
    while (input.remaining_bytes() > 0) {
        // Bytes arrive in pieces of any size, as from a serial line, while time passes.
        const std::vector<uint8_t> piece = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(1, 64));
        emulator->Receive(piece.data(), piece.size());
        now += input.ConsumeIntegralInRange<int>(0, 1000);
        emulator->Tick(now);
    }
    if (emulator->Columns() < 1 || emulator->Rows() < 1) std::abort();
    const std::vector<std::string> frame = lumora::sim::DrawFrame(*emulator, "fuzz");
    if (frame.size() < static_cast<size_t>(emulator->Rows()) + 3) std::abort();
    unsigned char keys[16];
    emulator->TakeSentToHost(keys, sizeof keys);
    return 0;
}
