#include "failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {
thread_local bool failNext = false;
}  // namespace

namespace serenitap::testing {

void FailNextAllocation() { failNext = true; }

}  // namespace serenitap::testing

void* operator new(std::size_t size) {
  if (failNext) {
    failNext = false;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
