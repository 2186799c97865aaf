#include "fchba/wwn_text.h"

#include <cstdio>

std::string WwnText(const uint8_t (&wwn)[8]) {
  char text[32];
  std::snprintf(text, sizeof(text), "%02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X", wwn[0], wwn[1],
                wwn[2], wwn[3], wwn[4], wwn[5], wwn[6], wwn[7]);
  return text;
}
