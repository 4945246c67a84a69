#include "freedmemory.h"

// Any C library header tells which library this is.
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

void FreedMemory::giveBack()
{
#ifdef __GLIBC__
    // Trims every arena, not only the calling thread's, including free pages amid used ones.
    malloc_trim(0);
#endif
}
