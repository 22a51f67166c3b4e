// Allocation without the C++ library's exception machinery: a failed `new`
// yields null (the programs build with -fcheck-new, so no constructor runs on
// it). Keeps the standard library's terminate handler and its demangler out of
// the programs.
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

extern "C" void __cxa_pure_virtual() { abort(); }

namespace __gnu_cxx {
void __verbose_terminate_handler() { abort(); }
}
