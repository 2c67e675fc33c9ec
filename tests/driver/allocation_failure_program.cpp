// The analysis of kova-cli with one allocation refused: KOVA_REFUSE_ALLOCATION=N makes the
// Nth allocation after the start fail, as a machine out of memory would. Whichever it is,
// the run must end through its own routes, never in std::terminate.
#include <atomic>
#include <cstdlib>
#include <new>

#include "driver/analysis_main.h"

namespace {

std::atomic<long> allocationsBeforeRefusal{-1};  // below zero: none is refused

void* Allocate(std::size_t size) {
  if (allocationsBeforeRefusal.load() > 0 && allocationsBeforeRefusal.fetch_sub(1) == 1) {
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}

int main() {
  if (const char* refused = std::getenv("KOVA_REFUSE_ALLOCATION")) {
    allocationsBeforeRefusal = std::atol(refused);
  }
  kova::RunAnalysis();
}
