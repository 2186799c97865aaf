// The node arena (node_arena.h), with AddressSanitizer's manual poisoning
// where the engine is built with it.
#include "regex/node_arena.h"

#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define REGEX_ARENA_POISONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define REGEX_ARENA_POISONS 1
#endif
#endif

#ifdef REGEX_ARENA_POISONS
#include <sanitizer/asan_interface.h>
#endif

namespace RegexEngine {

namespace {

#ifdef REGEX_ARENA_POISONS
// The poisoned bytes behind every allocation.
constexpr std::size_t kGap = 32;
void Poison(const void* p, std::size_t bytes) { ASAN_POISON_MEMORY_REGION(p, bytes); }
void Unpoison(const void* p, std::size_t bytes) { ASAN_UNPOISON_MEMORY_REGION(p, bytes); }
#else
constexpr std::size_t kGap = 0;
void Poison(const void*, std::size_t) {}
void Unpoison(const void*, std::size_t) {}
#endif

// No block grows beyond this (a larger allocation gets a block of its own
// size).
constexpr std::size_t kLargestBlock = std::size_t(1) << 20;

constexpr std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) & ~(to - 1); }

}  // namespace

NodeArena::~NodeArena() {
  while (last_) {
    Block* block = last_;
    last_ = block->previous;
    Unpoison(block, kHeaderBytes + block->bytes);
    ::operator delete(block);
  }
}

void* NodeArena::Allocate(std::size_t bytes, std::size_t alignment) {
  std::uintptr_t at = RoundUp(reinterpret_cast<std::uintptr_t>(free_), alignment);
  if (!last_ || at + bytes + kGap > reinterpret_cast<std::uintptr_t>(end_)) {
    AddBlock(bytes + kGap);
    at = reinterpret_cast<std::uintptr_t>(free_);
  }
  char* p = reinterpret_cast<char*>(at);
  free_ = p + bytes + kGap;
  Unpoison(p, bytes);
  return p;
}

// A block of at least least bytes of room (throws std::bad_alloc, as every
// allocation of the engine does, when the heap has none), all poisoned.
void NodeArena::AddBlock(std::size_t least) {
  const std::size_t bytes = RoundUp(least > nextBlockBytes_ ? least : nextBlockBytes_, 64);
  Block* block = static_cast<Block*>(::operator new(kHeaderBytes + bytes));
  block->previous = last_;
  block->bytes = bytes;
  last_ = block;
  free_ = reinterpret_cast<char*>(block) + kHeaderBytes;
  end_ = free_ + bytes;
  Poison(free_, bytes);
  if (nextBlockBytes_ < kLargestBlock) nextBlockBytes_ *= 2;
}

bool NodeArena::Holds(const void* p) const {
  const char* c = static_cast<const char*>(p);
  for (const Block* block = last_; block; block = block->previous) {
    const char* room = reinterpret_cast<const char*>(block) + kHeaderBytes;
    if (c >= room && c < room + block->bytes) return true;
  }
  return false;
}

}  // namespace RegexEngine
