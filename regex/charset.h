// The member set of a class node: a bitmap for the codes 0 to 255 and, for
// any wider characters, the wide members (wide_members.h), built once from a
// class text or copied from a set of codes below 256 made when the program
// is compiled (LowSet: the shorthand classes and the dot).
#ifndef REGEX_CHARSET_H
#define REGEX_CHARSET_H

#include <cstdint>

#include "regex/wide_members.h"

namespace RegexEngine {

// Codes 0 to 255, one bit each.
struct LowSet {
  std::uint64_t words[4];
};

// The set of the characters of an ASCII text, worked out at compile time.
constexpr LowSet LowSetOf(const char* members) {
  LowSet set{{0, 0, 0, 0}};
  for (; *members; ++members) {
    const unsigned code = static_cast<unsigned char>(*members);
    set.words[code >> 6] |= std::uint64_t(1) << (code & 63);
  }
  return set;
}

template <class T>
class BasicCharSet {
 public:
  using Char = typename T::Char;
  using String = typename T::String;

  // The members of a set of codes below 256, as they stand.
  explicit BasicCharSet(const LowSet& set) {
    for (int w = 0; w < 4; ++w) low_[w] = set.words[w];
  }

  // Every character of the text becomes a member; lowered first when asked.
  BasicCharSet(const String& members, bool lower) {
    for (Char c : members) {
      const std::uint32_t code = T::Code(lower ? T::Lower(c) : c);
      if (code < 256)
        low_[code >> 6] |= std::uint64_t(1) << (code & 63);
      else
        wide_.Add(code);
    }
    wide_.Finish();
  }

  bool Contains(Char c) const {
    std::uint32_t code = T::Code(c);
    if (code < 256) return (low_[code >> 6] >> (code & 63)) & 1u;
    return wide_.Contains(code);
  }

  bool Empty() const { return !(low_[0] | low_[1] | low_[2] | low_[3]) && wide_.Empty(); }

  // Number of distinct members.
  int Size() const {
    int n = wide_.Size();
    for (std::uint64_t w : low_) n += __builtin_popcountll(w);
    return n;
  }

 private:
  std::uint64_t low_[4] = {0, 0, 0, 0};
  WideMembers wide_;
};

}  // namespace RegexEngine

#endif
