// Where the long literal texts of a pattern (quotes and look-behinds of 16 or
// more characters) start in a matcher's text, one bit per position, each
// worked out in one linear pass the first time it is asked for once the
// failure table is on; from then on a literal is looked up instead of being
// compared again at every position.
//
// Bound: the room that the failure table leaves of kMaxRememberBytes. A
// literal whose positions do not fit keeps an empty mark and is compared as
// before.
#ifndef REGEX_LITERAL_INDEX_H
#define REGEX_LITERAL_INDEX_H

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace RegexEngine {

class LiteralIndex {
 public:
  explicit LiteralIndex(std::size_t roomBytes) : room_(roomBytes) {}

  // The starts of a node's literal: null when not worked out yet, empty when
  // they did not fit.
  const std::vector<std::uint64_t>* Starts(int nodeIndex) const {
    const auto it = starts_.find(nodeIndex);
    return it == starts_.end() ? nullptr : &it->second;
  }
  // True when the starts of a literal over a text of the given length fit in
  // the room left.
  bool Fits(std::size_t textLength) const {
    return used_ + WordsFor(textLength) * sizeof(std::uint64_t) <= room_;
  }
  // Keeps them when they fit in the room left, else an empty mark; returns
  // what is kept.
  const std::vector<std::uint64_t>* Keep(int nodeIndex, std::vector<std::uint64_t> starts) {
    const std::size_t bytes = starts.size() * sizeof(std::uint64_t);
    if (used_ + bytes > room_) starts.clear();
    used_ += starts.size() * sizeof(std::uint64_t);
    return &(starts_[nodeIndex] = std::move(starts));
  }
  // One bit per position, the end of the text included.
  static std::size_t WordsFor(std::size_t textLength) { return textLength / 64 + 1; }

 private:
  std::map<int, std::vector<std::uint64_t>> starts_;  // by node index
  std::size_t room_;
  std::size_t used_ = 0;
};

}  // namespace RegexEngine

#endif
