#include "fchba/attribute_clean.h"

#include <cstring>
#include <string>

void CleanAttributeString(char* text, std::size_t capacity) {
  if (capacity == 0) return;
  text[capacity - 1] = '\0';
  const std::size_t length = std::strlen(text);
  if (length == 0) return;

  std::size_t last = 0;
  for (std::size_t k = length; k >= 1; --k) {
    const signed char c = static_cast<signed char>(text[k]);
    if (c >= 33 && c <= 125) {
      last = k;
      break;
    }
  }
  const std::size_t trimmed = last + 1;

  std::string cleaned;
  cleaned.reserve(trimmed);
  for (std::size_t k = 0; k < trimmed; ++k) {
    if (k > 0 && text[k] == ' ' && text[k - 1] == ' ') continue;
    cleaned.push_back(text[k]);
  }
  std::memset(text, 0, length);
  std::memcpy(text, cleaned.data(), cleaned.size());
}
