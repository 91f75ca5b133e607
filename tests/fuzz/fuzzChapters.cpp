// Fuzzes the chapter export: any sheet, every format; the size told equals the size written,
// exact and short buffers are never overrun, and each output is read whole by its format's
// reader rules, with as many chapters as the report says.
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

// A whole decimal number (digits, at most one point between digits) from at to the end of s.
bool isDecimal(const std::string& s) {
  size_t at = 0;
  if (number(s, &at) < 0) return false;
  if (at == s.size()) return true;
  size_t point = ++at;
  return s[point - 1] == '.' && number(s, &at) >= 0 && at == s.size();
}

// [H:]M:SS, the times a video site reads at a description line's start; -1 when none stands there.
long long clockSeconds(const std::string& line, size_t* at) {
  long long value = number(line, at);
  if (value < 0) return -1;
  int fields = 1;
  for (; fields < 3 && *at < line.size() && line[*at] == ':' && isDigits(line, *at + 1, 2); ++fields) {
    long long part = atoll(line.substr(*at + 1, 2).c_str());
    if (part >= 60) return -1;
    value = value * 60 + part;
    *at += 3;
  }
  return fields >= 2 ? value : -1;
}

// Each output as its readers take it: the video sites' chapter list, FFmpeg's metadata reader,
// mkvmerge's simple chapters, the WebVTT parser, a JSON reader with the podcast chapters' fields,
// Audacity's label reader. Each finds the report's number of chapters.
void checkStructure(ExportFormat format, const std::string& out, const ExportReport& report) {
  FUZZ_CHECK(out.find('\r') == std::string::npos && out.find('\0') == std::string::npos);
  std::vector<std::string> lines = linesOf(out);
  size_t tracks = (size_t)report.tracks;
  switch (format) {
    case kExportVideoChapters:
      // A time at each line's start, the first 0:00, then the title after a blank.
      FUZZ_CHECK(lines.size() == tracks);
      for (size_t i = 0; i < lines.size(); ++i) {
        size_t p = 0;
        long long seconds = clockSeconds(lines[i], &p);
        FUZZ_CHECK(seconds >= 0 && (i > 0 || seconds == 0));
        FUZZ_CHECK(p == lines[i].size() || (lines[i][p] == ' ' && p + 1 < lines[i].size()));
      }
      break;
    case kExportFfmetadata: {
      // key=value lines (a backslash escapes the next character, never the line break), sections
      // of [CHAPTER] each with a TIMEBASE, and a START and an END after it.
      FUZZ_CHECK(!lines.empty() && lines[0] == ";FFMETADATA1");
      size_t chapters = 0;
      long long start = -1, end = -1;
      bool timebase = false;
      auto closeChapter = [&]() {
        if (chapters > 0) FUZZ_CHECK(timebase && start >= 0 && end > start);
      };
      for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        FUZZ_CHECK(!l.empty() && l[0] != ';' && l[0] != '#');
        if (l == "[CHAPTER]") {
          closeChapter();
          ++chapters;
          start = end = -1;
          timebase = false;
          continue;
        }
        size_t eq = std::string::npos;
        for (size_t p = 0; p < l.size(); ++p) {
          if (l[p] == '\\') FUZZ_CHECK(++p < l.size());
          else if (l[p] == '=' && eq == std::string::npos) eq = p;
        }
        FUZZ_CHECK(eq != std::string::npos && eq > 0);
        std::string key = l.substr(0, eq), value = l.substr(eq + 1);
        size_t p = 0;
        if (chapters > 0 && key == "TIMEBASE") {
          timebase = number(value, &p) > 0 && p < value.size() && value[p] == '/' && number(value, &++p) > 0 &&
                     p == value.size();
        }
        if (chapters > 0 && (key == "START" || key == "END")) {
          long long n = number(value, &p);
          FUZZ_CHECK(p == value.size());
          (key == "START" ? start : end) = n;
        }
      }
      closeChapter();
      FUZZ_CHECK(chapters == tracks);
      break;
    }
    case kExportMatroska:
      // CHAPTERnn=H:MM:SS.nnn and CHAPTERnnNAME=..., numbered on from 01.
      FUZZ_CHECK(lines.size() == 2 * tracks);
      for (size_t i = 0; i < lines.size(); i += 2) {
        char name[32];
        snprintf(name, sizeof name, "CHAPTER%02d", (int)(i / 2 + 1));
        std::string head = name;
        FUZZ_CHECK(lines[i].compare(0, head.size() + 1, head + "=") == 0);
        std::string time = lines[i].substr(head.size() + 1);
        size_t p = 0;
        FUZZ_CHECK(number(time, &p) >= 0 && time[p] == ':' && isDigits(time, p + 1, 2) && time[p + 3] == ':' &&
                   isDigits(time, p + 4, 2) && time[p + 6] == '.' && isDecimal(time.substr(p + 4)));
        FUZZ_CHECK(lines[i + 1].compare(0, head.size() + 5, head + "NAME=") == 0);
      }
      break;
    case kExportWebVtt: {
      // The header, then cues apart by blank lines: a timing line whose end is later than its
      // start, then text with neither "-->" nor a raw '<', and '&' only in a character reference.
      FUZZ_CHECK(lines.size() >= 2 && lines[0] == "WEBVTT" && lines[1].empty());
      size_t cues = 0;
      for (size_t i = 2; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::string& timing = lines[i];
        size_t arrow = timing.find(" --> ");
        FUZZ_CHECK(arrow != std::string::npos);
        long long from = timestamp(timing, 0), to = timestamp(timing, arrow + 5);
        FUZZ_CHECK(from >= 0 && to > from && timing.find('.') + 4 == arrow && timing.rfind('.') + 4 == timing.size());
        ++cues;
        for (++i; i < lines.size() && !lines[i].empty(); ++i) {
          const std::string& text = lines[i];
          FUZZ_CHECK(text.find("-->") == std::string::npos && text.find('<') == std::string::npos);
          for (size_t amp = text.find('&'); amp != std::string::npos; amp = text.find('&', amp + 1))
            FUZZ_CHECK(text.compare(amp, 5, "&amp;") == 0 || text.compare(amp, 4, "&lt;") == 0 ||
                       text.compare(amp, 4, "&gt;") == 0);
        }
      }
      FUZZ_CHECK(cues == tracks);
      break;
    }
    case kExportPodcastJson: {
      // One JSON value; inside strings every quote is escaped, so each chapter object's start is
      // found whole: one per chapter.
      FUZZ_CHECK(lines.size() == 1);
      Json json{lines[0], 0};
      FUZZ_CHECK(json.value() && json.at == lines[0].size());
      FUZZ_CHECK(lines[0].compare(0, 31, "{\"version\":\"1.2.0\",\"chapters\":[") == 0);
      size_t starts = 0;
      for (size_t p = lines[0].find("{\"startTime\":"); p != std::string::npos; p = lines[0].find("{\"startTime\":", p + 1)) ++starts;
      FUZZ_CHECK(starts == tracks);
      break;
    }
    case kExportAudacityLabels:
      // start TAB end TAB label, the times decimal numbers, the end not before the start.
      FUZZ_CHECK(lines.size() == tracks);
      for (const std::string& l : lines) {
        size_t tab1 = l.find('\t'), tab2 = l.find('\t', tab1 + 1);
        FUZZ_CHECK(tab2 != std::string::npos && l.find('\t', tab2 + 1) == std::string::npos);
        std::string from = l.substr(0, tab1), to = l.substr(tab1 + 1, tab2 - tab1 - 1);
        FUZZ_CHECK(isDecimal(from) && isDecimal(to) && atof(to.c_str()) >= atof(from.c_str()));
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
