// WaitMs: the platform's wait, or the one a program or test put in its place.
#include "Wait.h"

#include "Host.h"

namespace lumora {

namespace {
WaitFunction replacement = nullptr;
void* replacementContext = nullptr;
}  // namespace

void SetWaitFunction(WaitFunction wait, void* context)
{
    replacement = wait;
    replacementContext = context;
}

void WaitMs(int ms)
{
    if (replacement != nullptr)
        replacement(replacementContext, ms);
    else
        detail::PlatformWaitMs(ms);
}

}  // namespace lumora
