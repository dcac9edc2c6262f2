// The heap in use, counted by the benchmark executable's own operator new
// and delete: what a run holds at its peak, the plug-in's allocations and
// the host's alike.
#pragma once

#include <cstddef>

// Bytes allocated and not yet freed.
std::size_t HeapInUse();
// The highest HeapInUse since the last ResetHeapPeak.
std::size_t HeapPeak();
void ResetHeapPeak();
