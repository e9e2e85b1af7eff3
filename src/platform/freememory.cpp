#include "platform/freememory.h"

#include <cstdlib>  // defines __GLIBC__ with the GNU C library
#ifdef __GLIBC__
#include <malloc.h>
#endif

void returnFreeMemory() {
#ifdef __GLIBC__
    // Walks every thread's pool, not only the main one, and releases the whole pages of free
    // chunks inside them as well as the free space at their ends.
    malloc_trim(0);
#endif
}
