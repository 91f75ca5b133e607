// Fuzzes the stored form of templates and the reading of integer keys: what the profile
// reader gives back from the stored form must be the template (line breaks as escapes).
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../../base/iniText.h"
#include "../../base/settingsText.h"
#include "fuzzInput.h"

namespace {

// The platform's profile reader: blanks at both ends dropped, then one enclosing pair of
// matching quotes stripped.
std::string profileRead(const std::string& stored) {
  size_t first = stored.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  size_t last = stored.find_last_not_of(" \t");
  std::string value = stored.substr(first, last - first + 1);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t outBytes = (size_t)data[0] * 8;
  FuzzText text(data + 1, size - 1);
  std::string value = text.c_str();

  ExactBuffer out(outBytes);
  if (encodeSettingText(value.c_str(), out.data, out.size)) {
    std::string stored = out.data;
    FUZZ_CHECK(stored.find_first_of("\r\n") == std::string::npos);  // one line in the file
    std::string expected;
    for (char c : value) expected += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    FUZZ_CHECK(profileRead(stored) == expected);
  } else if (outBytes) {
    FUZZ_CHECK(out.data[0] == 0);
  }

  // A template cut to a length, as it formats, is a prefix within that length.
  size_t limit = (size_t)data[0] * 2;
  std::string cut = value;
  cutTemplate(&cut[0], limit);
  cut.resize(strlen(cut.c_str()));
  FUZZ_CHECK(templateLength(cut.c_str()) <= limit);
  FUZZ_CHECK(value.compare(0, cut.size(), cut) == 0);
  if (templateLength(value.c_str()) <= limit) FUZZ_CHECK(cut == value);

  // The stored value written into any file as its [LUMO] section reads back as stored, and no
  // byte outside the section changes.
  if (encodeSettingText(value.c_str(), out.data, out.size)) {
    std::string stored = out.data;
    std::string file = value;  // any bytes as a file around it
    IniValue values[] = {{"balloontitle", stored.c_str()}};
    size_t room = iniEditedBytesMax(file.size(), "LUMO", values, 1);
    ExactBuffer edited(room);
    size_t length = iniEdit(file.data(), file.size(), "LUMO", values, 1, edited.data, room);
    FUZZ_CHECK(length > 0 && length < room);
    ExactBuffer back(stored.size() + 1);
    bool found = iniRead(edited.data, length, "LUMO", "balloontitle", back.data, back.size);
    // A file whose own lines hold a second [LUMO] or a balloontitle= before ours may shadow it.
    if (file.find('[') == std::string::npos && file.find('=') == std::string::npos) {
      FUZZ_CHECK(found);
      FUZZ_CHECK(profileRead(stored) == back.data);
    }
  }

  int parsed = 12345;
  if (parseSettingInt(value.c_str(), &parsed)) {
    errno = 0;
    char* end = nullptr;
    long long model = strtoll(value.c_str(), &end, 10);
    if (errno == 0 && model >= -2147483648LL && model <= 2147483647LL) FUZZ_CHECK(parsed == (int)model);
  } else {
    FUZZ_CHECK(parsed == 12345);
  }
  return 0;
}
