// The memory of one compiled pattern's nodes and of the tables they keep:
// blocks taken from the heap as the pattern grows and given back all at once
// when the pattern is destroyed. A pattern of the program's own makes one
// block instead of a heap allocation per node, and releases it in one free.
//
// The pattern still destroys every node it made (the nodes' destructors run
// before the blocks go); the arena only holds their memory.
//
// Under AddressSanitizer the arena keeps the sanitizer's view of every node:
// a block's memory is poisoned until it is handed out, each allocation is
// followed by a poisoned gap, so a read or write past a node's end is
// reported, and the blocks go back to the heap through free, so a use of a
// node after its pattern is destroyed is reported as a use after free. The
// choice is made where the arena is compiled (node_arena.cpp), in the
// engine's library, so every user of the engine shares one arena.
#ifndef REGEX_NODE_ARENA_H
#define REGEX_NODE_ARENA_H

#include <cstddef>
#include <new>
#include <utility>

namespace RegexEngine {

class NodeArena {
 public:
  // The first block holds firstBlockBytes (the further ones grow from it).
  explicit NodeArena(std::size_t firstBlockBytes) : nextBlockBytes_(firstBlockBytes) {}
  ~NodeArena();
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  // Room for bytes with the given alignment (a power of two up to that of
  // std::max_align_t), valid until the arena is destroyed.
  void* Allocate(std::size_t bytes, std::size_t alignment);

  // A new object of type X in the arena. Its destructor is the owner's to
  // run before the arena goes.
  template <class X, class... Args>
  X* New(Args&&... args) {
    return ::new (Allocate(sizeof(X), alignof(X))) X(std::forward<Args>(args)...);
  }

  // True when p points into memory the arena handed out.
  bool Holds(const void* p) const;

 private:
  struct Block {
    Block* previous;
    std::size_t bytes;  // of the room after the header
  };
  // A block's header, rounded so that the room after it keeps the heap's
  // alignment.
  static constexpr std::size_t kHeaderBytes = (sizeof(Block) + alignof(std::max_align_t) - 1) /
                                              alignof(std::max_align_t) * alignof(std::max_align_t);
  void AddBlock(std::size_t least);

  Block* last_ = nullptr;  // the block being filled; the earlier ones behind it
  char* free_ = nullptr;   // the first free byte of the last block
  char* end_ = nullptr;    // the end of the last block
  std::size_t nextBlockBytes_;
};

}  // namespace RegexEngine

#endif
