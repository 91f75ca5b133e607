// Fuzzes the chapter export: any sheet, every format; the size told equals the size written,
// exact and short buffers are never overrun, and each output keeps its format's structure.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../base/utf8Text.h"
#include "../../sheet/chapterExport.h"
#include "fuzzInput.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    FUZZ_CHECK(end != std::string::npos);  // every line ends with LF
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool isDigits(const std::string& s, size_t at, size_t count) {
  if (at + count > s.size()) return false;
  for (size_t i = at; i < at + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// Digits from at; the value, and at moved past them. -1 without a digit.
long long number(const std::string& s, size_t* at) {
  long long value = -1;
  while (*at < s.size() && s[*at] >= '0' && s[*at] <= '9') value = (value < 0 ? 0 : value * 10) + (s[(*at)++] - '0');
  return value;
}

// "HH:MM:SS.mmm" at at, in milliseconds; -1 when it is not one.
long long timestamp(const std::string& s, size_t at) {
  size_t p = at;
  long long h = number(s, &p);
  if (h < 0 || p - at < 2 || p + 10 > s.size() || s[p] != ':' || !isDigits(s, p + 1, 2) || s[p + 3] != ':' ||
      !isDigits(s, p + 4, 2) || s[p + 6] != '.' || !isDigits(s, p + 7, 3))
    return -1;
  long long m = atoll(s.substr(p + 1, 2).c_str()), sec = atoll(s.substr(p + 4, 2).c_str());
  FUZZ_CHECK(m < 60 && sec < 60);
  return ((h * 60 + m) * 60 + sec) * 1000 + atoll(s.substr(p + 7, 3).c_str());
}

// A small JSON reader: true when text from at holds one whole value.
struct Json {
  const std::string& s;
  size_t at;
  bool str() {
    if (s[at] != '"') return false;
    for (++at; at < s.size() && s[at] != '"'; ++at) {
      if ((unsigned char)s[at] < 0x20) return false;
      if (s[at] != '\\') continue;
      char e = ++at < s.size() ? s[at] : 0;
      if (e == 'u') {
        if (at + 4 >= s.size()) return false;
        for (int i = 1; i <= 4; ++i)
          if (!isxdigit((unsigned char)s[at + i])) return false;
        at += 4;
      } else if (std::string("\"\\/bfnrt").find(e) == std::string::npos || e == 0) {
        return false;
      }
    }
    return at++ < s.size();
  }
  bool value() {
    if (at >= s.size()) return false;
    char c = s[at];
    if (c == '"') return str();
    if (c == '{' || c == '[') {
      char close = c == '{' ? '}' : ']';
      if (++at < s.size() && s[at] == close) return ++at, true;
      for (;;) {
        if (c == '{' && !(str() && at < s.size() && s[at++] == ':')) return false;
        if (!value() || at >= s.size()) return false;
        if (s[at] == close) return ++at, true;
        if (s[at++] != ',') return false;
      }
    }
    size_t start = at;
    if (c == '-') ++at;
    if (number(s, &at) < 0 && at == start) return false;
    if (at < s.size() && s[at] == '.') {
      size_t p = ++at;
      number(s, &at);
      if (at == p) return false;
    }
    return at > start;
  }
};

void checkStructure(ExportFormat format, const std::string& out, const ExportReport& report) {
  FUZZ_CHECK(out.find('\r') == std::string::npos && out.find('\0') == std::string::npos);
  std::vector<std::string> lines = linesOf(out);
  size_t tracks = (size_t)report.tracks;
  switch (format) {
    case kExportVideoChapters: {
      FUZZ_CHECK(lines.size() == tracks);
      int listFields = 0;
      for (size_t i = 0; i < lines.size(); ++i) {
        size_t p = 0;
        FUZZ_CHECK(number(lines[i], &p) >= 0);
        int fields = 1;
        while (p < lines[i].size() && lines[i][p] == ':' && isDigits(lines[i], p + 1, 2)) p += 3, ++fields;
        FUZZ_CHECK((fields == 2 || fields == 3) && (i == 0 || fields == listFields));
        listFields = fields;
        FUZZ_CHECK(p == lines[i].size() || (lines[i][p] == ' ' && p + 1 < lines[i].size()));
        if (i == 0) FUZZ_CHECK(lines[i].compare(0, fields == 2 ? 4 : 7, fields == 2 ? "0:00" : "0:00:00") == 0);
      }
      break;
    }
    case kExportFfmetadata: {
      FUZZ_CHECK(!lines.empty() && lines[0] == ";FFMETADATA1");
      size_t chapters = 0;
      long long start = -1;
      for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l == "[CHAPTER]") {
          ++chapters;
          FUZZ_CHECK(i + 4 < lines.size() && lines[i + 1] == "TIMEBASE=1/75");
          continue;
        }
        size_t eq = l.find('=');
        FUZZ_CHECK(eq != std::string::npos && l.find_first_of(";#\\") > eq);
        for (size_t p = eq + 1; p < l.size(); ++p) {
          if (l[p] == '\\') FUZZ_CHECK(++p < l.size());
          else FUZZ_CHECK(l[p] != '=' && l[p] != ';' && l[p] != '#');
        }
        size_t p = eq + 1;
        if (l.compare(0, eq, "START") == 0) start = number(l, &p);
        if (l.compare(0, eq, "END") == 0) FUZZ_CHECK(number(l, &p) > start && start >= 0);
      }
      FUZZ_CHECK(chapters == tracks);
      break;
    }
    case kExportMatroska:
      FUZZ_CHECK(lines.size() == 2 * tracks);
      for (size_t i = 0; i < lines.size(); i += 2) {
        char name[32];
        snprintf(name, sizeof name, "CHAPTER%02d", (int)(i / 2 + 1));
        std::string head = name;
        FUZZ_CHECK(lines[i].compare(0, head.size() + 1, head + "=") == 0);
        FUZZ_CHECK(timestamp(lines[i], head.size() + 1) >= 0 && lines[i].size() == lines[i].find('.') + 4);
        FUZZ_CHECK(lines[i + 1].compare(0, head.size() + 5, head + "NAME=") == 0);
      }
      break;
    case kExportWebVtt:
      FUZZ_CHECK(lines.size() == 2 + 3 * tracks && lines[0] == "WEBVTT" && lines[1].empty());
      for (size_t i = 2; i < lines.size(); i += 3) {
        const std::string& timing = lines[i];
        size_t arrow = timing.find(" --> ");
        FUZZ_CHECK(arrow != std::string::npos);
        long long from = timestamp(timing, 0), to = timestamp(timing, arrow + 5);
        FUZZ_CHECK(from >= 0 && to > from && timing.find('.') + 4 == arrow);
        const std::string& text = lines[i + 1];
        FUZZ_CHECK(text.find("-->") == std::string::npos && text.find('<') == std::string::npos);
        for (size_t amp = text.find('&'); amp != std::string::npos; amp = text.find('&', amp + 1))
          FUZZ_CHECK(text.compare(amp, 5, "&amp;") == 0 || text.compare(amp, 4, "&lt;") == 0 || text.compare(amp, 4, "&gt;") == 0);
        FUZZ_CHECK(lines[i + 2].empty());
      }
      break;
    case kExportPodcastJson: {
      FUZZ_CHECK(lines.size() == 1);
      Json json{lines[0], 0};
      FUZZ_CHECK(json.value() && json.at == lines[0].size());
      size_t starts = 0;
      for (size_t p = lines[0].find("{\"startTime\":"); p != std::string::npos; p = lines[0].find("{\"startTime\":", p + 1)) ++starts;
      FUZZ_CHECK(starts >= tracks);  // titles may hold the same words
      break;
    }
    case kExportAudacityLabels:
      FUZZ_CHECK(lines.size() == tracks);
      for (const std::string& l : lines) {
        size_t tab1 = l.find('\t'), tab2 = l.find('\t', tab1 + 1);
        FUZZ_CHECK(tab2 != std::string::npos && l.find('\t', tab2 + 1) == std::string::npos);
        FUZZ_CHECK(tab1 >= 8 && l[tab1 - 7] == '.' && l.substr(0, tab1) == l.substr(tab1 + 1, tab2 - tab1 - 1));
      }
      break;
    case kExportFormatCount:
      break;
  }
}

// A sheet from the bytes, two for a line: its kind, then how many of the following bytes make
// its value; times mostly later than the one before, some earlier, some past 100 minutes.
std::string generateSheet(const uint8_t* data, size_t size) {
  std::string sheet;
  long long frames = 0;
  int track = 0;
  for (size_t at = 0; at + 2 <= size; at += 2) {
    uint8_t kind = data[at] % 8, pick = data[at + 1];
    std::string value((const char*)data + at + 2, std::min<size_t>(pick % 12, size - at - 2));
    char line[64];
    switch (kind) {
      case 0: snprintf(line, sizeof line, "TRACK %02d AUDIO", ++track); sheet += line; break;
      case 1: sheet += "  TITLE \"" + value + "\""; break;
      case 2: sheet += "  PERFORMER " + value; break;
      case 3: case 4:
        frames += pick & 0x80 ? -(long long)pick * 75 : (long long)pick * pick * 7;
        if (frames < 0) frames = 0;
        snprintf(line, sizeof line, "  INDEX %s %02lld:%02lld:%02lld", kind == 3 ? "01" : "00", frames / 4500,
                 frames / 75 % 60, frames % 75);
        sheet += line;
        break;
      case 5: sheet += "FILE \"" + value + "\" WAVE"; break;
      case 6: sheet += "TITLE \"" + value; break;
      default: sheet += value; break;
    }
    sheet += data[at] & 0x80 ? "\r\n" : data[at] & 0x40 ? "\n" : "\r";
  }
  return sheet;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  size_t small = data[0];
  long long lengthFrames = data[2] & 1 ? -1 : ((long long)data[3] << 16 | data[4] << 8) * (data[2] | 1);
  std::string input = data[1] & 1 ? generateSheet(data + 5, size - 5) : std::string((const char*)data + 5, size - 5);
  ExactBuffer sheet(input.size());
  if (!input.empty()) memcpy(sheet.data, input.data(), input.size());

  ExportReport first = {};
  for (int f = 0; f < kExportFormatCount; ++f) {
    ExportFormat format = (ExportFormat)f;
    size_t bytes = exportBytes(sheet.data, sheet.size, format, lengthFrames);
    ExactBuffer whole(bytes + 1);
    ExportReport report;
    FUZZ_CHECK(exportSheet(sheet.data, sheet.size, format, lengthFrames, whole.data, whole.size, &report) == bytes);
    FUZZ_CHECK(whole.data[bytes] == '\0' && isValidUtf8(whole.data, bytes));
    if (f == 0) first = report;
    FUZZ_CHECK(memcmp(&report, &first, sizeof report) == 0);
    FUZZ_CHECK(report.tracks >= 0 && report.leftOut >= 0 && report.skipped >= 0);
    FUZZ_CHECK((report.shortEntry > 0) == ((report.videoRules & kVideoEntryTooShort) != 0));
    FUZZ_CHECK((report.unorderedEntry > 1) == ((report.videoRules & kVideoNotAscending) != 0));
    checkStructure(format, std::string(whole.data, bytes), report);

    ExactBuffer cut(small);
    size_t written = exportSheet(sheet.data, sheet.size, format, lengthFrames, cut.data, cut.size, nullptr);
    if (small == 0) continue;
    FUZZ_CHECK(written == utf8CutPoint(whole.data, bytes, small - 1));
    FUZZ_CHECK(cut.data[written] == '\0' && memcmp(cut.data, whole.data, written) == 0);
  }
  return 0;
}
