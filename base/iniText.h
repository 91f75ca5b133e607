// One section of an INI file's bytes, read and edited as the system's profile functions read
// them, but byte for byte: a value is whatever bytes it holds (UTF-8 included), whatever the
// system's code page. Lines end in CR LF, LF or CR; section and key names compare in any letter
// case of their ASCII letters.
#pragma once

#include <cstddef>

// The value of key in [section] into value (valueBytes, cut to fit between whole UTF-8
// characters, as copyText cuts): blanks at either end
// dropped and one enclosing pair of double or single quotes stripped, as the profile reader
// does. False, with value empty, when the key is not there.
bool iniRead(const char* ini, size_t length, const char* section, const char* key, char* value,
             size_t valueBytes);

// Whether the bytes hold [section].
bool iniHasSection(const char* ini, size_t length, const char* section);

struct IniValue {
  const char* key;
  const char* value;
};

// The file with each key of [section] set to its value: a key that stands in the section is
// rewritten in its place ("key=value"), the others follow the section's last line in the order
// given, and a missing section is added at the end. Every other byte stays as it was.
// iniEditedBytesMax is enough room for the result.
size_t iniEditedBytesMax(size_t length, const char* section, const IniValue* values, size_t count);
size_t iniEdit(const char* ini, size_t length, const char* section, const IniValue* values, size_t count,
               char* out, size_t outBytes);
