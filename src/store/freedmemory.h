#pragma once

// Memory the allocator keeps after large frees, such as those of the store's read.
namespace FreedMemory
{

// Keeps every large block in a mapping of its own, given back to the system when freed. The C
// library would otherwise raise that bound after the first large free, past the card pictures
// and the store's records, and leave them to fragment the heap.
void mapLargeBlocksApart();

// Hands the free pages of every allocator arena back to the system; any thread may call it.
void giveBack();

} // namespace FreedMemory
