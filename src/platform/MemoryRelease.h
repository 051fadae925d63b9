#pragma once

namespace vastel {

// Hands the free pages of the heap back to the system. A finder that dropped the texts of a
// whole disk's files leaves many small holes that the allocator would otherwise keep.
void releaseFreeMemory();

// Large blocks (a finder's record tables, a grid's sort scratch) come from the system and go
// back to it when freed. Left alone, the allocator raises that size bound each time it frees
// a large block and keeps every smaller one after its release: after one scan of a large disk,
// the next scan's tables would pile up on top of the last one's.
void returnLargeBlocksOnRelease();

}  // namespace vastel
