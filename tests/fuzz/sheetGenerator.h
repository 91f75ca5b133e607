// A cue sheet built from fuzzer bytes, for the fuzzers of the sheet check and the sheet edits.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

// Builds a sheet from the bytes, three for a line: a keyword; then mostly its usual words
// (the next track number, a later time, the next index number), else words from a list of right
// and wrong ones, or bytes of the input; blanks, TABs and each kind of line break between. Usual
// lines keep the order readers want (a FILE before the first TRACK, a TRACK before what belongs
// in one, an INDEX 01 in each track, the first time 00:00:00), so that many of these sheets pass
// and reach libcue. The times grow within a file and often start again after a FILE line.
inline std::string generateSheet(const uint8_t* data, size_t size) {
  static const char* const keywords[] = {"CATALOG", "CDTEXTFILE", "FILE", "FLAGS", "INDEX", "ISRC",
      "PERFORMER", "POSTGAP", "PREGAP", "REM", "SONGWRITER", "TITLE", "TRACK", "TRACK", "INDEX", "TITLE"};
  static const char* const usual[] = {"1234567890128", "\"x.cdt\"", "\"a b.wav\" WAVE", "DCP PRE",
      "", "ABCDE1234567", "\"Artist\"", "00:02:00", "00:02:00", "", "Writer", "\"T\"", "", "", "",
      "Title"};
  static const bool inTrackOnly[] = {false, false, false, true, true, true, false, true, true, false,
      false, false, false, false, true, false};
  static const char* const remarks[] = {"COMMENT \"x\"", "DATE 2004", "GENRE \"Deep House\"",
      "REPLAYGAIN_TRACK_GAIN -1.2 dB", "DISCID 8A0B2C0D", "", "DATE \"1999\"", "REPLAYGAIN_ALBUM_PEAK 0.9",
      "x GENRE y", "UPDATED", "COMMENT \"GENRE\"", "DATE=1", "GENRE", "REPLAYGAIN_TRACK_PEAK", "x y z", "\"\""};
  static const char* const trackTypes[] = {"AUDIO", "MODE1/2352", "MODE2/2336", "MODE1/2048"};
  static const char* const words[] = {"01", "1", "00", "99", "100", "AUDIO", "MODE2/2352", "CDG",
      "MODE2/2048", "WAVE", "MP3", "FLAC", "BINARY", "DCP", "4CH", "SCMS", "dcp", "\"x\"", "\"a b\"",
      "\"\"", "x", "a\"b", "\"a\"b\"", "00:00:00", "59:59:74", "00:60:00", "1:2:3", "477218:35:22",
      "477218:35:23", "DATE", "GENRE", "REPLAYGAIN_TRACK_GAIN", "-1.2", "dB", "\xE9t\xE9", "REM", "TRACK"};
  std::string sheet;
  bool file = false, nextFile = false;  // a FILE line came; one waits for the next track
  int track = 0;
  int index = 0;  // the next INDEX number in the track
  long long frames = 0;
  auto two = [](long long n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  bool timed = false;  // the sheet's first time is 00:00:00: its first track starts the file
  auto later = [&]() {
    if (!timed) {
      timed = true;
      return std::string("0:00:00");
    }
    frames += 1 + (long long)(sheet.size() * 997 % 20000);
    return std::to_string(frames / 4500) + ":" + two(frames / 75 % 60) + ":" + two(frames % 75);
  };
  auto closeTrack = [&]() {
    if (track > 0 && index <= 1) sheet += "INDEX 01 " + later() + "\r\n";
  };
  auto openTrack = [&](const std::string& separator, uint8_t pick) {
    closeTrack();
    if (!file) sheet += "FILE \"a.wav\" WAVE\r\n";
    file = true;
    nextFile = false;
    index = pick & 4 ? 0 : 1;
    return "TRACK" + separator + two(++track) + separator + trackTypes[pick % 4];
  };
  for (size_t at = 0; at + 3 <= size; at += 3) {
    uint8_t keyword = data[at] % 16, how = data[at + 1], pick = data[at + 2];
    int mode = how & 31, lineBreak = (how >> 5) & 3;
    std::string separator = pick & 0x40 ? "\t" : " ";
    std::string line = keywords[keyword];
    if (mode < 29) {
      if (inTrackOnly[keyword] && track == 0) sheet += openTrack(separator, pick) + "\r\n";
      if (track > 0 && (keyword == 0 || keyword == 1)) line = "TITLE";
      if (line == "FILE" && nextFile) line = "PERFORMER";
      if (line == "TRACK") line = openTrack(separator, pick);
      else if (line == "INDEX") line += separator + two(index++) + separator + later();
      else if (line == "REM") line += separator + remarks[pick % 16];
      else line += separator + usual[keyword];
      if (line.compare(0, 4, "FILE") == 0) {
        file = true;
        nextFile = track == 0 || index > 0;
        if (pick & 0x20) frames = 0;  // a file's times start again from its beginning
      }
    } else if (mode == 29) {  // input bytes in quotes
      std::string text((const char*)data + at, std::min<size_t>(pick % 16, size - at));
      for (char& c : text)
        if (c == '"' || c == '\r' || c == '\n') c = '\'';
      line += separator + "\"" + text + "\"";
    } else if (mode == 30) {
      for (int i = 0; i < pick % 4; ++i)
        line += separator + words[(pick / 4 + i * 7) % (sizeof words / sizeof *words)];
    } else {
      line += separator + std::string((const char*)data + at, std::min<size_t>(pick % 8, size - at));
    }
    if (how & 0x80) sheet += pick & 0x80 ? "\t" : "    ";
    if (data[at] & 0x10) line += data[at] & 0x20 ? " " : "\t";  // blanks at the end
    sheet += line + (lineBreak < 3 ? "\r\n" : pick & 31 ? "\n" : "\r");
    if ((data[at] & 0xC0) == 0xC0) sheet += lineBreak & 1 ? "\r\n" : " \t\n";  // a blank line
  }
  closeTrack();
  return sheet;
}
