#pragma once

// Every allocation through new, counted while it lives, with the bytes the heap gave it: what a
// long run keeps. Linking this replaces the program's operator new and delete.

namespace lumora::scenarios {

long long liveAllocations();
long long liveAllocationBytes();

} // namespace lumora::scenarios
