// Sheets for the sheet edit tests: written with "|" for CR LF, entries, edits applied, and the
// order every list of edits keeps.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../../sheet/sheetEdit.h"

// "a|b" as the lines "a" and "b" joined by CR LF, with no line break after the last.
inline std::string lines(const std::string& bars) {
  std::string text = bars;
  for (size_t at = 0; (at = text.find('|', at)) != std::string::npos; at += 2) text.replace(at, 1, "\r\n");
  return text;
}

// A formatted entry: TRACK line, TITLE, INDEX 01 at time.
inline std::string entry(int number, const std::string& title, const std::string& time) {
  std::string digits = (number < 10 ? "0" : "") + std::to_string(number);
  return "TRACK " + digits + " AUDIO\r\n    TITLE \"" + title + "\"\r\n    INDEX 01 " + time;
}

// The text with each pair's first occurrence replaced in turn ("|" for CR LF in both).
inline std::string replaced(std::string text, const std::vector<std::pair<std::string, std::string>>& changes) {
  for (const auto& change : changes) {
    size_t at = text.find(lines(change.first));
    EXPECT_NE(at, std::string::npos) << change.first;
    if (at != std::string::npos) text.replace(at, lines(change.first).size(), lines(change.second));
  }
  return text;
}

// The text after the edits, which must lie inside it, sorted and apart.
inline std::string edited(const std::string& text, const std::vector<TextEdit>& edits) {
  for (size_t i = 0; i < edits.size(); ++i) {
    EXPECT_LE(edits[i].at + edits[i].removeLength, text.size()) << "edit " << i;
    if (i > 0) {
      EXPECT_LE(edits[i - 1].at + edits[i - 1].removeLength, edits[i].at) << "edit " << i;
    }
  }
  size_t length = editedLength(text.size(), edits.data(), edits.size());
  std::string out(length + 1, '\0');
  EXPECT_EQ(applyEdits(text.data(), text.size(), edits.data(), edits.size(), &out[0], out.size()), length);
  out.resize(length);
  return out;
}
