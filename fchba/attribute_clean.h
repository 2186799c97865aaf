// Tidies a vendor's attribute text in place: trailing junk is cut and runs of
// spaces become one space.
#ifndef FCHBA_ATTRIBUTE_CLEAN_H
#define FCHBA_ATTRIBUTE_CLEAN_H

#include <cstddef>

// text is a field of capacity bytes; its last byte is forced to NUL first so
// that a vendor text without its terminator stays inside the field.
// Trailing characters outside "!" to "}" are cut, except the first character,
// which always stays; then every space that directly follows a space is
// dropped.
void CleanAttributeString(char* text, std::size_t capacity);

// Forces a NUL into the last byte of a fixed text field.
template <std::size_t N>
void TerminateField(char (&field)[N]) {
  field[N - 1] = '\0';
}

#endif
