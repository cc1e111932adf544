// The twelve functions of the library's interface for hosts, and the extras
// that look at its virtual display. Every call of the twelve is handed, with
// its arguments and result, to the trace file and to the observers.
#include "lcdriver/LCDriver.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "CallTrace.h"
#include "Configuration.h"
#include "VirtualDisplay.h"

namespace {

using lcdriver::Size;

struct Library {
    lcdriver::VirtualDisplay display;
    bool requested = false;
    LCDriverClock clock = nullptr;
    std::vector<std::pair<LCDriverObserver, void*>> observers;
    lcdriver::CallTrace trace;
};

Library& TheLibrary()
{
    static Library library;
    return library;
}

int64_t NowMs()
{
    const Library& library = TheLibrary();
    if (library.clock != nullptr) return library.clock();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// One call being made: its arguments are gathered, and Report hands it on with
// its result.
class Call {
public:
    explicit Call(const char* name) { call_.name = name; }

    Call& Value(int32_t value)
    {
        call_.arguments[call_.argumentCount++] = {0, value, nullptr, 0};
        return *this;
    }
    Call& Bytes(const unsigned char* bytes, int32_t count)
    {
        call_.arguments[call_.argumentCount++] = {1, 0, bytes, bytes != nullptr ? std::max(count, 0) : 0};
        return *this;
    }

    int32_t Report(int32_t result)
    {
        call_.result = result;
        Library& library = TheLibrary();
        library.trace.Record(call_);
        // By index: an observer may forget itself while it is called.
        for (size_t i = 0; i < library.observers.size(); ++i)
            library.observers[i].first(library.observers[i].second, &call_);
        return result;
    }

private:
    LCDriverCall call_{};
};

// The configured geometry. While nobody holds the display it takes that
// geometry at once, so that it is seen at the size it will be requested at.
Size Configure(Library& library)
{
    const Size size = lcdriver::ConfiguredSize();
    const Size shown{library.display.Columns(), library.display.Rows()};
    if (!library.requested && size != shown) library.display.Resize(size.columns, size.rows);
    return size;
}

// The result of an operation on the display, which needs the display requested.
template <typename Operation>
int32_t WhenRequested(Operation operation)
{
    Library& library = TheLibrary();
    return library.requested ? operation(library.display) : LCD_NOT_REQUESTED;
}

}  // namespace

extern "C" {

int32_t LCDRIVER_CALL lcdGetWidth(void)
{
    Call call("lcdGetWidth");
    return call.Report(Configure(TheLibrary()).columns);
}

int32_t LCDRIVER_CALL lcdGetHeight(void)
{
    Call call("lcdGetHeight");
    return call.Report(Configure(TheLibrary()).rows);
}

int32_t LCDRIVER_CALL lcdRequest(void)
{
    Call call("lcdRequest");
    Library& library = TheLibrary();
    if (library.requested || lcdriver::HeldElsewhere()) return call.Report(LCD_BUSY);
    const Size size = Configure(library);
    if (size == Size{}) return call.Report(LCD_BAD_CONFIGURATION);
    if (size != Size{library.display.Columns(), library.display.Rows()}) return call.Report(LCD_NO_MEMORY);
    library.requested = true;
    return call.Report(LCD_OK);
}

// The holder's marquee ends with its hold; the cells stay as they are.
int32_t LCDRIVER_CALL lcdFree(void)
{
    Call call("lcdFree");
    return call.Report(WhenRequested([](lcdriver::VirtualDisplay& display) {
        display.StopMarquee();
        TheLibrary().requested = false;
        return int32_t{LCD_OK};
    }));
}

int32_t LCDRIVER_CALL lcdSetCursor(int32_t mode)
{
    Call call("lcdSetCursor");
    call.Value(mode);
    return call.Report(WhenRequested([&](lcdriver::VirtualDisplay& display) { return display.SetCursorMode(mode); }));
}

int32_t LCDRIVER_CALL lcdSetWrapMode(int32_t rows, int32_t display)
{
    Call call("lcdSetWrapMode");
    call.Value(rows).Value(display);
    return call.Report(WhenRequested([&](lcdriver::VirtualDisplay& d) { return d.SetWrapMode(rows, display); }));
}

int32_t LCDRIVER_CALL lcdClearDisplay(void)
{
    Call call("lcdClearDisplay");
    return call.Report(WhenRequested([](lcdriver::VirtualDisplay& display) {
        display.Clear();
        return int32_t{LCD_OK};
    }));
}

int32_t LCDRIVER_CALL lcdSetCursorPos(int32_t column, int32_t row)
{
    Call call("lcdSetCursorPos");
    call.Value(column).Value(row);
    return call.Report(
        WhenRequested([&](lcdriver::VirtualDisplay& display) { return display.SetCursorPos(column, row); }));
}

int32_t LCDRIVER_CALL lcdSendString(const unsigned char* text, int32_t length)
{
    Call call("lcdSendString");
    call.Bytes(text, length).Value(length);
    return call.Report(WhenRequested([&](lcdriver::VirtualDisplay& display) { return display.Write(text, length); }));
}

int32_t LCDRIVER_CALL lcdSetCustomChar(int32_t index, const unsigned char* bitmap)
{
    Call call("lcdSetCustomChar");
    call.Value(index).Bytes(bitmap, 8);
    return call.Report(
        WhenRequested([&](lcdriver::VirtualDisplay& display) { return display.SetCustomChar(index, bitmap); }));
}

int32_t LCDRIVER_CALL lcdEnableMarquee(const unsigned char* text, int32_t length, int32_t row, int32_t shift,
                                       int32_t delay)
{
    Call call("lcdEnableMarquee");
    call.Bytes(text, length).Value(length).Value(row).Value(shift).Value(delay);
    return call.Report(WhenRequested([&](lcdriver::VirtualDisplay& display) {
        return display.StartMarquee(text, length, row, shift, delay, NowMs());
    }));
}

int32_t LCDRIVER_CALL lcdDisableMarquee(void)
{
    Call call("lcdDisableMarquee");
    return call.Report(WhenRequested([](lcdriver::VirtualDisplay& display) {
        display.StopMarquee();
        return int32_t{LCD_OK};
    }));
}

// ---- Looking at the virtual display ----------------------------------------------

int32_t LCDRIVER_CALL LCDriverVirtualObserve(LCDriverObserver observer, void* context)
{
    if (observer == nullptr) return LCD_BAD_ARGUMENT;
    try {
        TheLibrary().observers.emplace_back(observer, context);
    } catch (const std::bad_alloc&) {
        return LCD_NO_MEMORY;
    }
    return LCD_OK;
}

void LCDRIVER_CALL LCDriverVirtualForget(LCDriverObserver observer, void* context)
{
    auto& observers = TheLibrary().observers;
    const auto found = std::find(observers.begin(), observers.end(), std::make_pair(observer, context));
    if (found != observers.end()) observers.erase(found);
}

void LCDRIVER_CALL LCDriverVirtualGetState(LCDriverVirtualState* state)
{
    if (state == nullptr) return;
    const Library& library = TheLibrary();
    const lcdriver::VirtualDisplay& d = library.display;
    *state = LCDriverVirtualState{.columns = d.Columns(),
                                  .rows = d.Rows(),
                                  .requested = library.requested ? 1 : 0,
                                  .cursorMode = d.CursorMode(),
                                  .cursorColumn = d.CursorColumn(),
                                  .cursorRow = d.CursorRow(),
                                  .wrapRows = d.WrapRows(),
                                  .wrapDisplay = d.WrapDisplay(),
                                  .customDefined = d.CustomDefined(),
                                  .marqueeRunning = d.MarqueeRunning() ? 1 : 0,
                                  .marqueeRow = d.MarqueeRow(),
                                  .marqueeShift = d.MarqueeShift(),
                                  .marqueeDelay = d.MarqueeDelay(),
                                  .marqueeLength = d.MarqueeLength(),
                                  .marqueeSteps = d.MarqueeSteps(NowMs())};
}

int32_t LCDRIVER_CALL LCDriverVirtualGetCells(unsigned char* buffer, int32_t size)
{
    const lcdriver::VirtualDisplay& display = TheLibrary().display;
    const int32_t cells = display.Columns() * display.Rows();
    if (buffer != nullptr && size >= cells) display.Show(NowMs(), buffer);
    return cells;
}

int32_t LCDRIVER_CALL LCDriverVirtualGetCustomChar(int32_t index, unsigned char* bitmap)
{
    return TheLibrary().display.GetCustomChar(index, bitmap);
}

void LCDRIVER_CALL LCDriverVirtualSetClock(LCDriverClock clock) { TheLibrary().clock = clock; }

}  // extern "C"
