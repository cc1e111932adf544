// Counts every heap allocation in the process while countingAllocations is
// set: CountedAllocations.cpp replaces the global operator new of any
// benchmark program that links it.
#pragma once

#include <atomic>

namespace lumora::bench {
extern std::atomic<long> allocations;
extern bool countingAllocations;
}  // namespace lumora::bench
