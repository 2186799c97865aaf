// The members of a class at codes 256 and above (the wide copy's), tested in
// about the same time whatever the class holds.
//
// They are kept as sorted, disjoint ranges; a class of a few ranges is
// searched through them. A class of more ranges also gets a trie over the
// bytes of the code, from the highest: three levels of nodes, one per byte
// but the lowest, and a 256-bit map of the lowest byte at the bottom. A node
// keeps a bit per child that holds members and the children themselves,
// packed; a child wholly inside the class is marked full and has nothing
// below it. So a test reads at most four small nodes, and the trie grows
// with the ranges, not with the members.
//
// Everything lives in one array of 32-bit words, so that a class without
// wide members costs one empty vector:
//   [0]        the number of ranges, R
//   [1, 2R]    the ranges, the first and the last code of each
//   then, when R > kFewRanges: 17 words, the node of each Unicode plane (a
//   code of the 17 planes starts there, two levels down), and the trie, its
//   root first. A node is 8 words of child bits, 8 words that count the
//   child bits before each of them, then one word per child: where the child
//   starts, or kFull. A bottom map is 8 words of bits. A plane's word, like
//   a child's, may also be kFull or kAbsent.
#ifndef REGEX_WIDE_MEMBERS_H
#define REGEX_WIDE_MEMBERS_H

#include <algorithm>
#include <cstdint>
#include <vector>

namespace RegexEngine {

class WideMembers {
 public:
  // Members are added one by one (codes of 256 and above, in any order,
  // repeats allowed); then Finish makes the set.
  void Add(std::uint32_t code) {
    if (words_.empty()) words_.push_back(0);
    words_.push_back(code);
    words_.push_back(code);
    ++words_[0];
  }
  void Finish() {
    if (!words_.empty()) Make();
  }

  bool Contains(std::uint32_t code) const {
    if (words_.empty()) return false;
    const std::uint32_t* w = words_.data();
    const std::uint32_t ranges = w[0];
    if (ranges <= kFewRanges) {
      for (std::uint32_t k = 0; k < ranges; ++k) {
        if (code < w[1 + 2 * k]) return false;
        if (code <= w[2 + 2 * k]) return true;
      }
      return false;
    }
    // A code of the 17 Unicode planes starts at its plane's node.
    const bool unicode = code < (kPlanes << 16);
    std::uint32_t at = unicode ? w[1 + 2 * ranges + (code >> 16)] : 1 + 2 * ranges + kPlanes;
    if (at == kFull || at == kAbsent) return at == kFull;
    for (int shift = unicode ? 8 : 24; shift >= 8; shift -= 8) {
      const std::uint32_t b = (code >> shift) & 255;
      const std::uint32_t bits = w[at + (b >> 5)];
      if (!((bits >> (b & 31)) & 1u)) return false;
      const std::uint32_t below = bits & ((std::uint32_t(1) << (b & 31)) - 1);
      const std::uint32_t child = w[at + kNodeHead + w[at + 8 + (b >> 5)] + Ones(below)];
      if (child == kFull) return true;
      at = child;
    }
    return (w[at + ((code & 255) >> 5)] >> (code & 31)) & 1u;
  }

  bool Empty() const { return words_.empty() || words_[0] == 0; }

  // Number of members.
  int Size() const {
    long long n = 0;
    for (std::uint32_t k = 0; !words_.empty() && k < words_[0]; ++k)
      n += static_cast<long long>(words_[2 + 2 * k]) - words_[1 + 2 * k] + 1;
    return static_cast<int>(n);
  }

 private:
  struct Range {
    std::uint32_t lo, hi;
  };
  static constexpr std::uint32_t kFewRanges = 8;
  static constexpr std::uint32_t kFull = ~std::uint32_t(0);  // a child wholly inside the class
  static constexpr std::uint32_t kAbsent = 0;                // no child: no member below
  static constexpr std::uint32_t kNodeHead = 16;             // child bits and their counts
  static constexpr std::uint32_t kPlanes = 17;               // planes of 65,536 codes in Unicode

  // The number of bits set (the compiler's own count is a library call on
  // the baseline x86-64 target).
  static std::uint32_t Ones(std::uint32_t x) {
    x = x - ((x >> 1) & 0x55555555u);
    x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0Fu;
    return (x * 0x01010101u) >> 24;
  }

  // Sorts and merges the ranges; adds the trie when there are many.
  __attribute__((noinline)) void Make() {
    std::vector<Range> ranges;
    for (std::uint32_t k = 0; k < words_[0]; ++k) ranges.push_back({words_[1 + 2 * k], 0});
    std::sort(ranges.begin(), ranges.end(), [](Range a, Range b) { return a.lo < b.lo; });
    std::vector<Range> merged;
    for (const Range& r : ranges) {
      if (!merged.empty() && std::uint64_t(r.lo) <= std::uint64_t(merged.back().hi) + 1)
        merged.back().hi = std::max(merged.back().hi, r.lo);
      else
        merged.push_back({r.lo, r.lo});
    }
    words_.assign(1, static_cast<std::uint32_t>(merged.size()));
    for (const Range& r : merged) {
      words_.push_back(r.lo);
      words_.push_back(r.hi);
    }
    if (merged.size() > kFewRanges) {
      const std::uint32_t planes = static_cast<std::uint32_t>(words_.size());
      words_.resize(planes + kPlanes, kAbsent);
      const std::uint32_t root = Place(merged, 0, 24);
      for (std::uint32_t plane = 0; plane < kPlanes; ++plane)
        words_[planes + plane] = ChildOf(ChildOf(root, 0), plane);
    }
    words_.shrink_to_fit();
  }

  // The child entry of a node for byte b: where it starts, kFull or kAbsent.
  std::uint32_t ChildOf(std::uint32_t node, std::uint32_t b) const {
    if (node == kFull || node == kAbsent) return node;
    const std::uint32_t bits = words_[node + (b >> 5)];
    if (!((bits >> (b & 31)) & 1u)) return kAbsent;
    const std::uint32_t below = bits & ((std::uint32_t(1) << (b & 31)) - 1);
    return words_[node + kNodeHead + words_[node + 8 + (b >> 5)] + Ones(below)];
  }

  // Places the part of the trie for the codes base to base + 2^(shift + 8) - 1,
  // which the ranges (sorted, disjoint, inside that span, not all of it)
  // touch, and returns where it starts.
  std::uint32_t Place(const std::vector<Range>& ranges, std::uint32_t base, int shift) {
    const std::uint32_t at = static_cast<std::uint32_t>(words_.size());
    if (shift < 8) {
      words_.resize(at + 8, 0);
      for (const Range& r : ranges) {
        for (std::uint64_t c = r.lo; c <= r.hi; ++c)
          words_[at + ((c & 255) >> 5)] |= std::uint32_t(1) << (c & 31);
      }
      return at;
    }
    // The children the ranges touch, with the part of the ranges inside each.
    struct Child {
      std::uint32_t byte;
      bool full;
      std::vector<Range> parts;
    };
    std::vector<Child> children;
    const std::uint64_t span = std::uint64_t(1) << shift;
    for (const Range& r : ranges) {
      for (std::uint64_t b = (r.lo - base) >> shift; b <= (r.hi - base) >> shift; ++b) {
        const std::uint64_t first = base + b * span, last = first + span - 1;
        const Range part{static_cast<std::uint32_t>(std::max<std::uint64_t>(r.lo, first)),
                         static_cast<std::uint32_t>(std::min<std::uint64_t>(r.hi, last))};
        if (children.empty() || children.back().byte != b)
          children.push_back({static_cast<std::uint32_t>(b), false, {}});
        children.back().full = part.lo == first && part.hi == last;
        children.back().parts.push_back(part);
      }
    }
    words_.resize(at + kNodeHead + children.size(), 0);
    std::uint32_t count = 0;
    for (std::uint32_t word = 0, k = 0; word < 8; ++word) {
      words_[at + 8 + word] = count;
      for (; k < children.size() && children[k].byte >> 5 == word; ++k) {
        words_[at + word] |= std::uint32_t(1) << (children[k].byte & 31);
        ++count;
      }
    }
    for (std::size_t k = 0; k < children.size(); ++k) {
      const Child& c = children[k];
      const std::uint32_t child =
          c.full ? kFull
                 : Place(c.parts, static_cast<std::uint32_t>(base + c.byte * span), shift - 8);
      words_[at + kNodeHead + k] = child;
    }
    return at;
  }

  std::vector<std::uint32_t> words_;
};

}  // namespace RegexEngine

#endif
