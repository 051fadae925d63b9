#pragma once

namespace vastel {

// Hands the free pages of the heap back to the system. A finder that dropped the texts of a
// whole disk's files leaves many small holes that the allocator would otherwise keep.
void releaseFreeMemory();

}  // namespace vastel
