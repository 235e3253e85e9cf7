// The allocation count: the benchmark program's own malloc, calloc and
// realloc stand in front of the C library's, count while asked, and hand
// every call on to glibc's allocator through the names it exports for that
// (__libc_malloc and its kin), as its manual allows a program that replaces
// malloc. free and the aligned allocations are glibc's own, on the same heap.
// glibc only: the benchmarks are built for Linux alone.
#include "allocation_count.h"

#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
}

static bool g_counting;
static long g_allocations;

extern "C" void* malloc(size_t size) {
    if (g_counting) ++g_allocations;
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) {
    if (g_counting) ++g_allocations;
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* block, size_t size) {
    if (g_counting) ++g_allocations;
    return __libc_realloc(block, size);
}

void allocation_count_start() {
    g_allocations = 0;
    g_counting = true;
}

long allocation_count_stop() {
    g_counting = false;
    return g_allocations;
}
