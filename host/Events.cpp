// The event queue: drivers hand events to DisplaySendEvent (from whatever
// thread the host delivered their input on); the program takes them in order.
#include <deque>
#include <mutex>
#include <string>

#include "Host.h"
#include "Settings.h"

namespace {

constexpr size_t kQueueLimit = 65536;

std::mutex queueMutex;
std::deque<std::string> queue;

}  // namespace

extern "C" int DisplaySendEvent(const char* text)
{
    if (text == nullptr) return 0;
    std::lock_guard<std::mutex> lock(queueMutex);
    if (queue.size() == kQueueLimit) queue.pop_front();  // nobody reads: keep the newest
    queue.emplace_back(text);
    return 1;
}

namespace lumora {

int NextEvent(char* buffer, int size)
{
    std::lock_guard<std::mutex> lock(queueMutex);
    if (queue.empty()) return 0;
    detail::CopyTerminated(queue.front(), buffer, size);
    queue.pop_front();
    return 1;
}

}  // namespace lumora
