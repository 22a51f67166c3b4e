// Memory for the programs that link no C runtime: straight from the process
// heap, behind the C names the product's code and new/delete call.
#include <windows.h>

extern "C" void* malloc(size_t n) { return HeapAlloc(GetProcessHeap(), 0, n); }

extern "C" void free(void* p)
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

// A failed growth leaves the block as it was, as the C library's does.
extern "C" void* realloc(void* p, size_t n)
{
    return p ? HeapReAlloc(GetProcessHeap(), 0, p, n) : malloc(n);
}
