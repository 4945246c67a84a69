#pragma once

// Work that a start can do later (indexing the store, preparing the search) waits while the
// board's first frame is being drawn, so that the frame has the processor to itself. A hold
// nobody lifts ends by itself after a moment; work that is wanted at once lifts it.
namespace BackgroundHold
{

void hold();
void lift();
// Returns at once unless held.
void waitUntilLifted();

} // namespace BackgroundHold
