// Helpers shared by the engine's suites: one table runs on both copies.
#ifndef TESTS_REGEX_TEST_UTIL_H
#define TESTS_REGEX_TEST_UTIL_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "regex/pattern.h"

// The text in the character type of T, byte by byte (a byte keeps its
// unsigned value as a wide character).
template <class T>
typename T::String Text(const std::string& s) {
  typename T::String out;
  for (unsigned char c : s) out += static_cast<typename T::Char>(c);
  return out;
}

// A wide or narrow text back as narrow bytes, for messages and comparisons.
template <class S>
std::string Narrow(const S& s) {
  std::string out;
  for (auto c : s) out += static_cast<char>(c);
  return out;
}

template <class T>
std::vector<std::string> NarrowAll(const std::vector<typename T::String>& v) {
  std::vector<std::string> out;
  for (const auto& s : v) out.push_back(Narrow(s));
  return out;
}

using BothCopies = ::testing::Types<NarrowTraits, WideTraits>;

// Owns what Compile and CreateMatcher return, which the caller deletes, so that
// a failed assertion leaks nothing. Declare the matcher after its pattern: it
// goes first.
template <class X>
std::unique_ptr<X> Own(X* made) {
  return std::unique_ptr<X>(made);
}

#endif
