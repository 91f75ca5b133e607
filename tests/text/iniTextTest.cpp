// One INI section read and edited byte for byte, as the profile reader reads it.
#include <gtest/gtest.h>

#include <string>

#include "../../base/iniText.h"

namespace {

std::string edit(const std::string& ini, const std::vector<IniValue>& values) {
  size_t room = iniEditedBytesMax(ini.size(), "LUMO", values.data(), values.size());
  std::string out(room + 1, '#');
  size_t length = iniEdit(ini.data(), ini.size(), "LUMO", values.data(), values.size(), &out[0], room);
  EXPECT_EQ(out[room], '#') << "wrote past the room it asked for";
  return out.substr(0, length);
}

}  // namespace

TEST(IniText, ValuesAreReadAsTheProfileReaderReadsThem) {
  const std::string ini =
      "[Other]\r\nkey=other\r\n[lumo]\r\n  Key  =  \"  quoted  \"  \r\nutf8=Bj\xC3\xB6rk \xE6\x9D\xB1\n"
      "single='x'\rempty=\r\n[Next]\r\nkey=next";
  struct {
    const char* key;
    bool found;
    const char* value;
  } cases[] = {
      {"key", true, "  quoted  "},  // blanks around dropped, one pair of quotes stripped
      {"UTF8", true, "Bj\xC3\xB6rk \xE6\x9D\xB1"},
      {"single", true, "x"},
      {"empty", true, ""},
      {"missing", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    char value[32] = "x";
    EXPECT_EQ(iniRead(ini.data(), ini.size(), "LUMO", c.key, value, sizeof value), c.found);
    EXPECT_STREQ(value, c.value);
  }
  char small[4];
  EXPECT_TRUE(iniRead(ini.data(), ini.size(), "LUMO", "utf8", small, sizeof small));
  EXPECT_STREQ(small, "Bj") << "cut before the character that does not fit whole";
}

TEST(IniText, EditsKeepEveryOtherByte) {
  std::vector<IniValue> values = {{"a", "1"}, {"new", "\xE6\x9D\xB1"}};
  struct {
    const char* name;
    std::string ini;
    std::string expected;
  } cases[] = {
      {"no file", "", "[LUMO]\r\na=1\r\nnew=\xE6\x9D\xB1\r\n"},
      {"other sections only", "[X]\nk=v", "[X]\nk=v\r\n[LUMO]\r\na=1\r\nnew=\xE6\x9D\xB1\r\n"},
      {"keys in place, new ones after the section's last line",
       "[X]\r\n[LUMO]\r\n; note\r\n A = old \r\nb=2\r\n\r\n[Y]\r\ny=\xE9\r\n",
       "[X]\r\n[LUMO]\r\n; note\r\na=1\r\nb=2\r\nnew=\xE6\x9D\xB1\r\n\r\n[Y]\r\ny=\xE9\r\n"},
      {"a last line without its break", "[LUMO]\r\nb=2", "[LUMO]\r\nb=2\r\na=1\r\nnew=\xE6\x9D\xB1\r\n"},
      {"every key there already", "[LUMO]\na=0\nnew=x", "[LUMO]\na=1\nnew=\xE6\x9D\xB1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(edit(c.ini, values), c.expected);
  }
}
