// The facts of a sheet's recordings for the check for burning a CD.
#include "cdFacts.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "../host/hostLink.h"
#include "../sheet/cueTime.h"
#include "../sheet/fileLine.h"
#include "../sheet/sheetTracks.h"
#include "../store/waveHeader.h"
#include "sheetState.h"

namespace {

// The recording's facts: its WAV header, and the player's length when it is the current entry
// and the header tells none.
AudioFacts factsOf(const char* path, const char* current) {
  AudioFacts facts = readWaveFacts(path);
  int seconds = hostLengthSeconds();
  if (facts.frames < 0 && seconds > 0 && samePath(path, current)) facts.frames = seconds * kFramesPerSecond;
  return facts;
}

}  // namespace

void gatherCdFacts(const char* text, size_t length, bool utf8Text, SheetAudioFacts* facts) {
  char folder[kPathBytes];
  char current[kPathBytes];
  hostEntryPathText(hostPlaylistIndex(), current);
  // A sheet typed before any mark goes beside the playing file, and its names stand from there.
  char audio[kPathBytes];
  sheetAudioOrCurrentEntry(audio, sizeof audio);
  sheetFolder(folder, sizeof folder);
  if (!folder[0]) folderOf(audio, folder, sizeof folder);
  FileBlock blocks[kCdFilesMax];
  size_t count = listFileBlocks(text, length, blocks, kCdFilesMax);
  if (count > kCdFilesMax) count = kCdFilesMax;
  for (size_t i = 0; i < count; ++i) {
    char path[kPathBytes];
    if (resolveFileName(text + blocks[i].nameAt, blocks[i].nameLength, folder, path, sizeof path))
      facts->files[i] = factsOf(path, current);
    else
      facts->files[i] = AudioFacts{-1, kWaveUnknown, 0, 0, 0};
  }
  // A sheet typed without a FILE line goes with its audio file.
  if (count == 0 && audio[0]) {
    facts->files[0] = factsOf(audio, current);
    count = 1;
  }
  facts->cd = CdFacts{facts->files, (unsigned)count, utf8Text};
}
