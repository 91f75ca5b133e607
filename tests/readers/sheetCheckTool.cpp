// The sheet check as Save makes it with "Check for burning a CD" on, for the reader matrix: each
// cue file named on the command line is checked, the WAV header of each FILE line's file read
// beside the sheet, and its problems printed after a line "SHEET <name>" (none: it passes).
#include <cstdio>
#include <string>

#include "../../base/limits.h"
#include "../../sheet/fileLine.h"
#include "../../sheet/sheetCheck.h"
#include "../../sheet/sheetTracks.h"
#include "../../store/waveHeader.h"

namespace {

const size_t kFilesMax = 99;

std::string readAll(const char* path) {
  std::string bytes;
  FILE* f = fopen(path, "rb");
  if (!f) return bytes;
  char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
  fclose(f);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string text = readAll(argv[i]);
    char folder[kPathBytes];
    folderOf(argv[i], folder, sizeof folder);
    FileBlock blocks[kFilesMax];
    size_t count = listFileBlocks(text.data(), text.size(), blocks, kFilesMax);
    AudioFacts files[kFilesMax];
    for (size_t b = 0; b < count && b < kFilesMax; ++b) {
      char path[kPathBytes];
      files[b] = resolveFileName(text.data() + blocks[b].nameAt, blocks[b].nameLength, folder, path, sizeof path)
                     ? readWaveFacts(path)
                     : AudioFacts{-1, kWaveUnknown, 0, 0, 0};
    }
    CdFacts cd = {files, (unsigned)(count < kFilesMax ? count : kFilesMax), false};
    SheetCheck check;
    checkSheet(text.data(), text.size(), &check, &cd);
    char problems[kProblemsTextBytes];
    formatProblems(check, problems, sizeof problems);
    std::string shown = problems;
    for (size_t at; (at = shown.find("\r\n")) != std::string::npos;) shown.replace(at, 2, "\n");
    printf("SHEET %s\n%s%s", argv[i], shown.c_str(), shown.empty() ? "" : "\n");
  }
  return 0;
}
