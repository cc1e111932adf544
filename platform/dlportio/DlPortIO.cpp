#include "DlPortIO.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "Hardware.h"

namespace {

constexpr int kMaxObservers = 16;
constexpr uint32_t kLastPort = 0xFFFF;  // the I/O space of a PC

struct Observer {
    DlPortObserver function;
    void* context;
};

// Everything a write touches, behind one lock so that the lines of the trace
// and the calls to the observers keep the order of the writes.
struct State {
    std::mutex lock;
    Observer observers[kMaxObservers] = {};
    int observerCount = 0;
    bool configured = false;
    bool hardware = false;
    bool toldRange = false;
    bool toldUnseen = false;
    std::FILE* trace = nullptr;

    // The environment is read at the first write.
    void Configure()
    {
        configured = true;
        const char* hardwareSwitch = std::getenv("DLPORTIO_HARDWARE");
        hardware = hardwareSwitch != nullptr && std::strcmp(hardwareSwitch, "1") == 0;
        const char* tracePath = std::getenv("DLPORTIO_TRACE");
        if (tracePath == nullptr || *tracePath == '\0') return;
        trace = std::fopen(tracePath, "a");
        if (trace == nullptr) std::fprintf(stderr, "DlPortIO: cannot write the trace file %s\n", tracePath);
    }

    void WriteHardware(uint32_t port, uint8_t value)
    {
        if (port <= kLastPort) {
            dlportio::WriteHardwarePort(static_cast<uint16_t>(port), value);
            return;
        }
        if (!toldRange)
            std::fprintf(stderr, "DlPortIO: %X is not an I/O port address; such writes are not made\n",
                         static_cast<unsigned>(port));
        toldRange = true;
    }
};

State& TheState()
{
    static State state;
    return state;
}

}  // namespace

extern "C" DLPORTIO_API void DLPORTIO_STDCALL DlPortWritePortUchar(uint32_t port, uint8_t value)
{
    State& s = TheState();
    std::lock_guard<std::mutex> hold(s.lock);
    if (!s.configured) s.Configure();
    if (s.hardware) s.WriteHardware(port, value);
    if (s.trace != nullptr) {
        std::fprintf(s.trace, "%X %02X\n", static_cast<unsigned>(port), static_cast<unsigned>(value));
        std::fflush(s.trace);  // a person may follow the trace while it grows
    }
    for (int i = 0; i < s.observerCount; ++i) s.observers[i].function(s.observers[i].context, port, value);
    if (!s.hardware && s.trace == nullptr && s.observerCount == 0 && !s.toldUnseen) {
        std::fprintf(stderr, "DlPortIO: I/O ports are written only when DLPORTIO_HARDWARE=1 is set\n");
        s.toldUnseen = true;
    }
}

extern "C" DLPORTIO_API int DlPortAddObserver(DlPortObserver observer, void* context)
{
    State& s = TheState();
    std::lock_guard<std::mutex> hold(s.lock);
    if (observer == nullptr || s.observerCount == kMaxObservers) return 0;
    s.observers[s.observerCount++] = Observer{observer, context};
    return 1;
}

extern "C" DLPORTIO_API void DlPortRemoveObserver(DlPortObserver observer, void* context)
{
    State& s = TheState();
    std::lock_guard<std::mutex> hold(s.lock);
    for (int i = 0; i < s.observerCount; ++i) {
        if (s.observers[i].function != observer || s.observers[i].context != context) continue;
        for (int j = i + 1; j < s.observerCount; ++j) s.observers[j - 1] = s.observers[j];
        --s.observerCount;
        return;
    }
}
