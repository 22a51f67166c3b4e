// Allocation without the C++ library's exception machinery: a failed `new`
// yields null (the programs build with -fcheck-new, so no constructor runs on
// it). Keeps the standard library's terminate handler and its demangler out of
// the programs.
#include <windows.h>

#include <stdlib.h>
#include <new>

void* operator new(size_t n) { return malloc(n ? n : 1); }
void* operator new[](size_t n) { return malloc(n ? n : 1); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return malloc(n ? n : 1); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return malloc(n ? n : 1); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }

// A pure virtual function called while an object is built or torn down: the
// process ends as the C library's abort ends it (most programs have no C
// library to call).
extern "C" void __cxa_pure_virtual() { ExitProcess(3); }

namespace __gnu_cxx {
void __verbose_terminate_handler() { ExitProcess(3); }
}
