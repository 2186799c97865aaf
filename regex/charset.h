// The member set of a class node: a bitmap for the codes 0 to 255 and a
// sorted list for any wider characters, built once from a class text.
#ifndef REGEX_CHARSET_H
#define REGEX_CHARSET_H

#include <algorithm>
#include <cstdint>
#include <vector>

namespace RegexEngine {

template <class T>
class BasicCharSet {
 public:
  using Char = typename T::Char;
  using String = typename T::String;

  // Every character of the text becomes a member; lowered first when asked.
  BasicCharSet(const String& members, bool lower) {
    for (Char c : members) Add(lower ? T::Lower(c) : c);
    std::sort(wide_.begin(), wide_.end());
    wide_.erase(std::unique(wide_.begin(), wide_.end()), wide_.end());
  }

  bool Contains(Char c) const {
    std::uint32_t code = T::Code(c);
    if (code < 256) return (low_[code >> 6] >> (code & 63)) & 1u;
    return std::binary_search(wide_.begin(), wide_.end(), code);
  }

  // Number of distinct members.
  int Size() const {
    int n = static_cast<int>(wide_.size());
    for (std::uint64_t w : low_) n += __builtin_popcountll(w);
    return n;
  }

 private:
  void Add(Char c) {
    std::uint32_t code = T::Code(c);
    if (code < 256)
      low_[code >> 6] |= std::uint64_t(1) << (code & 63);
    else
      wide_.push_back(code);
  }

  std::uint64_t low_[4] = {0, 0, 0, 0};
  std::vector<std::uint32_t> wide_;
};

}  // namespace RegexEngine

#endif
