#pragma once

// Memory the allocator keeps after large frees, such as those of the store's read.
namespace FreedMemory
{

// Hands the free pages of every allocator arena back to the system; any thread may call it.
void giveBack();

} // namespace FreedMemory
