// Fuzzes the sheet check: any bytes are checked without overrun, the problems format into any
// buffer, the rules for a CD only add to the others, and a sheet it passes is one that libcue
// reads whole, with the same tracks and times.
#include <libcue.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "../../base/utf8Text.h"
#include "../../sheet/sheetCheck.h"
#include "fuzzInput.h"
#include "sheetGenerator.h"

namespace {

// The lines as the check splits them: CR LF, LF or a lone CR end one.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::vector<std::string> wordsOf(const std::string& line) {
  std::vector<std::string> words;
  size_t at = 0;
  while ((at = line.find_first_not_of(" \t", at)) != std::string::npos) {
    size_t end = line.find_first_of(" \t", at);
    words.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end;
  }
  return words;
}

// libcue's own words about the text (it writes them to stdout and stderr), and its reading.
Cd* parseWithLibcue(const std::string& text, std::string* said) {
  static FILE* sink = tmpfile();
  FUZZ_CHECK(sink != nullptr);
  rewind(sink);
  FILE* out = stdout;
  FILE* err = stderr;
  stdout = sink;
  stderr = sink;
  Cd* cd = cue_parse_string(text.c_str());
  stdout = out;
  stderr = err;
  fflush(sink);
  long length = ftell(sink);
  said->assign((size_t)length, '\0');
  rewind(sink);
  if (length > 0 && fread(&(*said)[0], 1, (size_t)length, sink) != (size_t)length) said->clear();
  return cd;
}

void failWith(const std::string& text, const std::string& why) {
  fprintf(stderr, "checkSheet passed a sheet that libcue does not read as it stands: %s\n---\n%s---\n",
          why.c_str(), text.c_str());
  abort();
}

// A sheet that passed the check: libcue reads it without a word of complaint, finds each
// TRACK line, each track's INDEX 01 at the same time and its TITLE with the same text.
void compareWithLibcue(const std::string& sheet) {
  std::vector<long> starts;  // each track's INDEX 01, in frames
  std::vector<std::string> titles;
  for (const std::string& line : splitLines(sheet)) {
    std::vector<std::string> words = wordsOf(line);
    if (words.empty()) continue;
    if (words[0] == "TRACK") {
      starts.push_back(-1);
      titles.push_back("");
    }
    if (words[0] == "TITLE" && !titles.empty()) {
      std::string value = line.substr(line.find("TITLE") + 5);
      value = value.substr(value.find_first_not_of(" \t"));
      value = value.substr(0, value.find_last_not_of(" \t") + 1);
      if (value[0] == '"') value = value.substr(1, value.size() - 2);
      titles.back() = value;
    }
    long long m = 0;
    int s = 0, f = 0;
    if (words[0] == "INDEX" && words.size() > 2 && (words[1] == "01" || words[1] == "1") && !starts.empty() &&
        starts.back() < 0 &&
        sscanf(words[2].c_str(), "%lld:%d:%d", &m, &s, &f) == 3)
      starts.back() = (long)(m * 4500 + s * 75 + f);
  }
  if (starts.empty()) return;
  // Saved with a final line break, as the plug-in's save does.
  std::string text = sheet;
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  std::string said;
  Cd* cd = parseWithLibcue(text, &said);
  if (!cd) failWith(text, "refused; it said: " + said);
  if (!said.empty()) failWith(text, "it said: " + said);
  if (cd_get_ntrack(cd) != (int)starts.size())
    failWith(text, std::to_string(cd_get_ntrack(cd)) + " tracks for " +
                       std::to_string(starts.size()) + " TRACK lines");
  for (size_t i = 0; i < starts.size(); ++i) {
    Track* track = cd_get_track(cd, (int)i + 1);
    long start = track_get_index(track, 1);
    if (start != starts[i])
      failWith(text, "track " + std::to_string(i + 1) + " starts at " + std::to_string(start) +
                         ", not " + std::to_string(starts[i]));
    const char* title = cdtext_get(PTI_TITLE, track_get_cdtext(track));
    if (titles[i] != (title ? title : ""))
      failWith(text, "track " + std::to_string(i + 1) + " has the title \"" + (title ? title : "") +
                         "\", not \"" + titles[i] + "\"");
  }
  cd_delete(cd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  size_t smallBytes = data[0];
  // The second byte's lowest bit: the rest as the sheet, or the sheet generated from it.
  std::string input = data[1] & 1 ? generateSheet(data + 5, size - 5)
                                  : std::string((const char*)data + 5, size - 5);
  size_t length = input.size();
  ExactBuffer text(length);
  if (length) memcpy(text.data, input.data(), length);

  SheetCheck check;
  memset(&check, 0x5A, sizeof check);
  checkSheet(text.data, length, &check);
  FUZZ_CHECK(check.problems >= 0);
  int kept = check.problems < kSheetProblemsKept ? check.problems : kSheetProblemsKept;
  for (int i = 0; i < kept; ++i) {
    const SheetProblem& problem = check.kept[i];
    size_t chars = strnlen(problem.text, sizeof problem.text);
    FUZZ_CHECK(chars <= kProblemChars);
    FUZZ_CHECK(problem.line >= 1 && (i == 0 || problem.line >= check.kept[i - 1].line));
    std::string head = "line " + std::to_string(problem.line) + ": ";
    FUZZ_CHECK(std::string(problem.text).compare(0, head.size(), head) == 0 && chars > head.size());
  }
  // For a CD (the facts of two files from the input's first bytes) the rules only add problems.
  AudioFacts files[2] = {{(long long)data[2] * 4500 - 1, (WaveKind)(data[3] % 3), 44100u + data[3] / 3 % 2, 16, 2},
                         {(long long)data[4] * 75, kWaveFile, 44100, 16, (unsigned)data[4] % 3}};
  CdFacts cd = {files, 2, (data[1] & 2) != 0};
  SheetCheck forCd;
  checkSheet(text.data, length, &forCd, &cd);
  FUZZ_CHECK(forCd.problems >= check.problems);

  // It needs the check when a line starts with the word TRACK or INDEX, in any case.
  std::string sheet(text.data, length);
  bool hasTrack = false;
  for (const std::string& line : splitLines(sheet)) {
    std::vector<std::string> words = wordsOf(line);
    std::string first = words.empty() ? "" : words[0];
    for (char& c : first) c = (char)toupper((unsigned char)c);
    hasTrack = hasTrack || first == "TRACK" || first == "INDEX";
  }
  FUZZ_CHECK(sheetNeedsCheck(text.data, length) == hasTrack);

  // The problems in a buffer that holds them all, then cut to exact buffers of many sizes.
  char whole[kProblemsTextBytes];
  formatProblems(check, whole, sizeof whole);
  size_t wholeLength = strlen(whole);
  FUZZ_CHECK(wholeLength < sizeof whole - 1);
  FUZZ_CHECK((wholeLength == 0) == (check.problems == 0));
  size_t sizes[] = {0, 1, 2, smallBytes, wholeLength / 2, wholeLength, wholeLength + 1};
  for (size_t bytes : sizes) {
    ExactBuffer out(bytes);
    formatProblems(check, out.data, out.size);
    if (bytes == 0) continue;
    // Cut between whole characters: up to the first cut it is the whole text's beginning (the
    // bytes a cut character left may still take a short piece that follows).
    size_t cut = utf8CutPoint(whole, wholeLength, bytes - 1);
    FUZZ_CHECK(strlen(out.data) < bytes && memcmp(out.data, whole, cut) == 0);
  }

  // A sheet read by libcue: its string ends at a NUL, which the Cue window's text never holds.
  if (check.problems == 0 && sheet.find('\0') == std::string::npos) compareWithLibcue(sheet);
  return 0;
}
