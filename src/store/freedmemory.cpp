#include "freedmemory.h"

// Any C library header tells which library this is.
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

void FreedMemory::mapLargeBlocksApart()
{
#ifdef __GLIBC__
    // The library's own starting bound; setting it at all keeps it from moving.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

void FreedMemory::giveBack()
{
#ifdef __GLIBC__
    // Trims every arena, not only the calling thread's, including free pages amid used ones.
    malloc_trim(0);
#endif
}
