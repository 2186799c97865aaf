// Conversions between the narrow texts of the shell and the XML library and
// the wide texts of the records.
#ifndef COMPONENT_TEXT_CONVERT_H
#define COMPONENT_TEXT_CONVERT_H

#include <string>

// Multibyte conversion under the default C locale; stops at the first byte
// sequence the conversion rejects.
std::wstring NarrowToWide(const char* text);

// One wide character per byte, the byte read as a signed 8-bit value.
std::wstring WidenBytes(const std::string& bytes);

// Keeps the low 8 bits of each wide character (inverse of WidenBytes).
std::string NarrowLowBytes(const std::wstring& text);

#endif
