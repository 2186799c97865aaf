// Readable texts of a character class and of one character, for the debug
// printer of the narrow copy.
#include <cstdio>
#include <cstring>
#include <string>

#include "regex/pattern.h"

namespace {

using Slot = RegexEngine::PatternPrintSlot<true>;

char gClassText[Slot::kTextBufferSize];
char gCharText[Slot::kTextBufferSize];

bool IsMember(const std::map<char, bool>& vals, int code) {
  auto it = vals.find(static_cast<char>(static_cast<unsigned char>(code)));
  return it != vals.end() && it->second;
}

// Writes one byte at position when it fits, keeping room for the final NUL.
void Put(char c, char* buffer, int& position) {
  if (position >= 0 && position < Slot::kTextBufferSize - 1) buffer[position++] = c;
}

void PutText(const char* text, char* buffer, int& position) {
  for (; *text; ++text) Put(*text, buffer, position);
}

void PutHex(int code, char* buffer, int& position) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(code) & 0xFFu);
  PutText(hex, buffer, position);
}

// One member, as "\xHH" or through ClassCharEscape.
void PutMember(int code, bool printable, char* buffer, int& position) {
  if (printable)
    Slot::ClassCharEscape(static_cast<char>(code), buffer, position);
  else
    PutHex(code, buffer, position);
}

void End(char* buffer, int position) { buffer[position < 0 ? 0 : position] = '\0'; }

}  // namespace

void Slot::ClassCharEscape(char c, char* buffer, int& position) {
  if (std::strchr("()-[\\]", c) && c != '\0') Put('\\', buffer, position);
  Put(c, buffer, position);
}

void Slot::ClassRunFlush(int runEnd, int& runStart, bool printable, bool allowRange, char* buffer,
                         int& position) {
  if (runStart == -1) return;
  const int length = runEnd - runStart;
  if (length > 2 && allowRange) {
    PutMember(runStart, printable, buffer, position);
    Put('-', buffer, position);
    PutMember(runEnd - 1, printable, buffer, position);
  } else if (length > 2) {
    for (int code = runStart; code < runEnd; ++code)
      ClassCharEscape(static_cast<char>(code), buffer, position);
  } else {
    for (int code = runStart; code < runEnd; ++code) PutMember(code, printable, buffer, position);
  }
  runStart = -1;
}

void Slot::ClassRunText(const std::map<char, bool>& vals, int rangeStart, int rangeEnd,
                        bool printable, bool allowRange, char* buffer, int& position) {
  int runStart = -1;
  for (int code = rangeStart; code < rangeEnd; ++code) {
    if (IsMember(vals, code)) {
      if (runStart == -1) runStart = code;
    } else {
      ClassRunFlush(code, runStart, printable, allowRange, buffer, position);
    }
  }
  ClassRunFlush(rangeEnd, runStart, printable, allowRange, buffer, position);
}

const char* Slot::ClassText(const std::map<char, bool>& vals, bool inverted, bool tryComplement) {
  struct Special {
    int code;
    const char* text;
  };
  static const Special kSpecials[] = {{' ', " "},    {0, "\\0"},    {'\t', "\\t"},
                                      {'\r', "\\r"}, {'\n', "\\n"}, {'\f', "\\p"}};
  struct Range {
    int start, end;  // half-open
    bool printable, allowRange;
  };
  static const Range kRanges[] = {
      {1, 9, false, true},     {11, 12, false, true},   {14, 32, false, true},
      {128, 256, false, true}, {33, 48, true, false},   {48, 58, true, true},
      {58, 65, true, false},   {65, 91, true, true},    {91, 97, true, false},
      {97, 123, true, true},   {123, 128, true, false},
  };

  char* buffer = gClassText;
  int position = 0;
  Put('[', buffer, position);
  if (inverted) Put('^', buffer, position);
  for (const Special& s : kSpecials)
    if (IsMember(vals, s.code)) PutText(s.text, buffer, position);
  for (const Range& r : kRanges)
    ClassRunText(vals, r.start, r.end, r.printable, r.allowRange, buffer, position);
  Put(']', buffer, position);
  End(buffer, position);
  if (!tryComplement) return buffer;

  const std::string direct(buffer);
  std::map<char, bool> complement;
  for (int code = 0; code < 256; ++code)
    if (!IsMember(vals, code))
      complement[static_cast<char>(static_cast<unsigned char>(code))] = true;
  ClassText(complement, !inverted, false);
  if (direct.size() < std::strlen(buffer)) std::memcpy(buffer, direct.c_str(), direct.size() + 1);
  return buffer;
}

// Control characters and bytes above 0x7F show as "0x" and two hexadecimal
// digits of the unsigned byte.
const char* Slot::CharText(char c) {
  const unsigned code = static_cast<unsigned char>(c);
  switch (code) {
    case 0:
      return std::strcpy(gCharText, "\\0");
    case '\r':
      return std::strcpy(gCharText, "\\r");
    case '\t':
      return std::strcpy(gCharText, "\\t");
    case '\n':
      return std::strcpy(gCharText, "\\n");
    case '\f':
      return std::strcpy(gCharText, "\\p");
    default:
      break;
  }
  if (code < 32 || code > 0x7F)
    std::snprintf(gCharText, sizeof gCharText, "0x%02X", code);
  else
    std::snprintf(gCharText, sizeof gCharText, "%c", static_cast<char>(code));
  return gCharText;
}
