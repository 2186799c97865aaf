// The text form of a world-wide name: eight upper-case hexadecimal bytes
// joined by colons.
#ifndef FCHBA_WWN_TEXT_H
#define FCHBA_WWN_TEXT_H

#include <cstdint>
#include <string>

std::string WwnText(const uint8_t (&wwn)[8]);

#endif
