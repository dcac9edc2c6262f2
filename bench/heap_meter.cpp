// Every C++ allocation goes through these replacements, which count the
// usable size of each block (malloc_usable_size), so a peak is the bytes
// the program really held.
#include "heap_meter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> InUse{0};
std::atomic<std::size_t> Peak{0};

void* Counted(void* block) {
  if (!block)
    return nullptr;
  const std::size_t now =
      InUse.fetch_add(malloc_usable_size(block), std::memory_order_relaxed) +
      malloc_usable_size(block);
  std::size_t peak = Peak.load(std::memory_order_relaxed);
  while (now > peak &&
         !Peak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return block;
}

void* Allocate(std::size_t size) {
  void* block = Counted(std::malloc(size ? size : 1));
  if (!block)
    throw std::bad_alloc();
  return block;
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
  void* block = nullptr;
  if (posix_memalign(&block, static_cast<std::size_t>(align),
                     size ? size : 1) != 0)
    throw std::bad_alloc();
  return Counted(block);
}

void Release(void* block) {
  if (!block)
    return;
  InUse.fetch_sub(malloc_usable_size(block), std::memory_order_relaxed);
  std::free(block);
}

} // namespace

std::size_t HeapInUse() { return InUse.load(); }
std::size_t HeapPeak() { return Peak.load(); }
void ResetHeapPeak() { Peak.store(InUse.load()); }

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Counted(std::malloc(size ? size : 1));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Counted(std::malloc(size ? size : 1));
}
void* operator new(std::size_t size, std::align_val_t align) {
  return AllocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
  return AllocateAligned(size, align);
}
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, std::align_val_t) noexcept { Release(block); }
void operator delete[](void* block, std::align_val_t) noexcept {
  Release(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  Release(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  Release(block);
}
