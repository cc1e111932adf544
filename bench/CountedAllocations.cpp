#include "CountedAllocations.h"

#include <cstdlib>
#include <new>

namespace lumora::bench {
std::atomic<long> allocations{0};
bool countingAllocations = false;
}  // namespace lumora::bench

// The replacements allocate with malloc and free with free, which GCC cannot
// see through when it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    if (lumora::bench::countingAllocations) ++lumora::bench::allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (lumora::bench::countingAllocations) ++lumora::bench::allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
