#pragma once
// Hands memory that the program has freed back to the system. The C library keeps freed memory for
// later allocations, one pool per thread that allocated it; after a long file was read on a worker
// thread, or a window that held a million records was closed, that can be a hundred megabytes the
// program no longer needs but still holds. Call it after such a release, on any thread.

void returnFreeMemory();
