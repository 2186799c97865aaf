// What differs between the narrow and the wide copy of the engine: the
// character type, case folding, the width of "\x" escapes, and how a syntax
// error report reaches standard error.
#ifndef REGEX_TRAITS_H
#define REGEX_TRAITS_H

#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <string>

struct NarrowTraits {
  using Char = char;
  using String = std::string;

  // The program never changes the C locale, so only 'A' to 'Z' fold. Done by
  // hand: tolower() of a negative char is undefined.
  static Char Lower(Char c) { return (c >= 'A' && c <= 'Z') ? Char(c - 'A' + 'a') : c; }
  // The unsigned code of a character, used by ranges and negation.
  static std::uint32_t Code(Char c) { return static_cast<unsigned char>(c); }
  static Char FromCode(std::uint32_t code) {
    return static_cast<Char>(static_cast<unsigned char>(code));
  }
  // Largest code a range end may have.
  static constexpr std::uint32_t kMaxCode = 0xFF;
  // "\x" reads two hex digits only.
  static constexpr bool kLongHex = false;
  // The narrow copy has the debug printer (print_slots.h).
  static constexpr bool kPrints = true;

  // Writes a pattern text to standard error as it is.
  static void WriteText(std::FILE* out, const String& text) {
    std::fwrite(text.data(), 1, text.size(), out);
  }
};

struct WideTraits {
  using Char = wchar_t;
  using String = std::wstring;

  static Char Lower(Char c) { return static_cast<Char>(std::towlower(static_cast<wint_t>(c))); }
  static std::uint32_t Code(Char c) { return static_cast<std::uint32_t>(c); }
  static Char FromCode(std::uint32_t code) { return static_cast<Char>(code); }
  // Range ends stop at the last Unicode code point, so a range never grows
  // beyond what a class text can sensibly hold.
  static constexpr std::uint32_t kMaxCode = 0x10FFFF;
  // "\x" reads four hex digits when four follow, else two.
  static constexpr bool kLongHex = true;
  static constexpr bool kPrints = false;

  // Writes a wide pattern text to standard error as UTF-8 bytes. The report
  // goes through the byte-oriented stream functions so that standard error
  // keeps one orientation however narrow and wide reports interleave.
  static void WriteText(std::FILE* out, const String& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t wc : text) {
      std::uint32_t c = static_cast<std::uint32_t>(wc);
      if (c < 0x80) {
        bytes += static_cast<char>(c);
      } else if (c < 0x800) {
        bytes += static_cast<char>(0xC0 | (c >> 6));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        bytes += static_cast<char>(0xE0 | (c >> 12));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x110000) {
        bytes += static_cast<char>(0xF0 | (c >> 18));
        bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        bytes += '?';
      }
    }
    std::fwrite(bytes.data(), 1, bytes.size(), out);
  }
};

#endif
