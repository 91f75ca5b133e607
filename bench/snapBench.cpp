// The snapping benchmark's native half: reads a list of transitions (WAV files with a known
// boundary), presses near each boundary as a seeded listener would, runs the mark rule on each
// press and prints, per type and source, how far the marks land from the boundary; and times
// the features of a 2-hour file.
//   snapBench LIST [SEED [PRESSES]]  LIST: lines "type source path boundary-sample"; PRESSES: the
//                              presses written for the run through the plug-in (runList)
//   snapBench --time WAV       features of 2 hours of audio made by repeating WAV's PCM
//   snapBench --dump WAV FROM TO   the features of the frames [FROM, TO), one a line
#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "../audio/markSnap.h"
#include "snapTable.h"
#include "wavFeatures.h"

namespace {

const int kPressesPerTransition = 20;
const int kReactionOffsetMs = 250;  // "Mark earlier by", set to the listener's mean reaction
const double kReactMeanSeconds = 0.25, kReactSpreadSeconds = 0.08;
const double kAnticipateShare = 0.2, kAnticipateMeanSeconds = -0.1, kAnticipateSpreadSeconds = 0.1;
const double kTimedSeconds = 2 * 3600;

// The processor time this process has used, in seconds (the machine is shared: wall time says
// what others ran too).
double processorSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return (((unsigned long long)user.dwHighDateTime << 32 | user.dwLowDateTime) +
          ((unsigned long long)kernel.dwHighDateTime << 32 | kernel.dwLowDateTime)) / 1e7;
#else
  return (double)std::clock() / CLOCKS_PER_SEC;
#endif
}

// Presses near each boundary, the rule on each, and the table. With pressesPath, the presses
// are also written there for the run through the plug-in: a line "markoffset MS", then one line
// a transition, "type source path boundary-frame length-ms" and a pair "key-ms rule-frame" a
// press (rule-frame: where this rule put the mark).
int runList(const char* listPath, unsigned seed, const char* pressesPath) {
  std::ifstream list(listPath);
  if (!list) {
    fprintf(stderr, "snapBench: cannot read %s\n", listPath);
    return 2;
  }
  FILE* presses = pressesPath ? fopen(pressesPath, "w") : nullptr;
  if (pressesPath && !presses) {
    fprintf(stderr, "snapBench: cannot write %s\n", pressesPath);
    return 2;
  }
  if (presses) fprintf(presses, "markoffset %d\n", kReactionOffsetMs);
  std::mt19937 random(seed);
  std::normal_distribution<double> react(kReactMeanSeconds, kReactSpreadSeconds);
  std::normal_distribution<double> anticipate(kAnticipateMeanSeconds, kAnticipateSpreadSeconds);
  std::uniform_real_distribution<double> unit(0, 1);
  OutcomeRows rows;
  std::string type, source, path;
  unsigned long long boundary;
  int status = 0;
  while (list >> type >> source >> path >> boundary) {
    FeatureTrack* track = (FeatureTrack*)malloc(sizeof(FeatureTrack));
    featureTrackInit(track);
    WavInfo info;
    if (!featuresFromWav(path.c_str(), track, &info)) {
      fprintf(stderr, "snapBench: cannot read the features of %s\n", path.c_str());
      status = 1;
    } else {
      double boundarySeconds = (double)boundary / info.format.rate;
      long long truth = (long long)(boundary * 75 / info.format.rate);
      DecodedAudio audio{track, track->count, true};
      std::vector<Outcome>& row = rows[type + " " + source];
      if (presses)
        fprintf(presses, "%s %s %s %lld %llu", type.c_str(), source.c_str(), path.c_str(), truth,
                (unsigned long long)(info.sampleFrames * 1000 / info.format.rate));
      for (int i = 0; i < kPressesPerTransition; ++i) {
        double reaction = unit(random) < kAnticipateShare ? anticipate(random) : react(random);
        // The player tells positions in milliseconds; the plug-in takes the offset off.
        long long keyMs = (long long)std::floor((boundarySeconds + reaction) * 1000);
        long long mark = frameOfMs(keyMs > kReactionOffsetMs ? keyMs - kReactionOffsetMs : 0);
        SnapAnswer a = placeMark(audio, mark);
        Outcome o;
        o.pressedError = mark - truth;
        o.moved = a.moves;
        o.error = (a.moves ? a.frame : mark) - truth;
        o.offered = a.kind == SnapKind::ChangePoint && !a.moves;
        o.offerNear = o.offered && std::llabs(a.frame - truth) <= 2;
        row.push_back(o);
        if (presses) fprintf(presses, " %lld %lld", keyMs, a.moves ? a.frame : mark);
      }
      if (presses) fprintf(presses, "\n");
    }
    featureTrackFree(track);
    free(track);
  }
  if (presses) fclose(presses);
  printSnapTable(rows, kReactionOffsetMs, "the offered point");
  return status;
}

int timeFeatures(const char* wavPath) {
  WavInfo info;
  unsigned char* pcm = nullptr;
  uint64_t bytes = 0;
  if (!readWavPcm(wavPath, &info, &pcm, &bytes) || bytes == 0) {
    fprintf(stderr, "snapBench: cannot read %s\n", wavPath);
    return 2;
  }
  size_t frameBytes = (info.format.type == SampleType::Int16 ? 2 : 4) * info.format.channels;
  uint64_t total = (uint64_t)(kTimedSeconds * info.format.rate) * frameBytes;
  const size_t block = 16384;  // as a decoder hands them out
  FeatureTrack* track = (FeatureTrack*)malloc(sizeof(FeatureTrack));
  FeatureExtractor* extractor = (FeatureExtractor*)malloc(sizeof(FeatureExtractor));
  featureTrackInit(track);
  auto start = std::chrono::steady_clock::now();
  double processorStart = processorSeconds();
  bool ok = featureExtractorInit(extractor, info.format, track);
  uint64_t whole = bytes - bytes % frameBytes;  // the file's PCM, played again and again
  for (uint64_t at = 0, n = 0; ok && at < total; at += n) {
    uint64_t offset = at % whole;
    n = std::min<uint64_t>({block, total - at, whole - offset});
    ok = featureExtractorFeed(extractor, pcm + offset, (size_t)n);
  }
  ok = ok && featureExtractorFinish(extractor);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  double processor = processorSeconds() - processorStart;
  size_t chunks = 0;
  while (chunks < kFeatureChunksMax && track->chunks[chunks]) ++chunks;
  printf("features of %.0f minutes of %u Hz, %u channels: %.2f s (%.2f s of processor) for %zu frames, %.2f MB kept%s\n",
         kTimedSeconds / 60, info.format.rate, info.format.channels, seconds, processor, track->count,
         chunks * kFeatureChunkFrames * sizeof(FrameFeature) / 1e6, ok ? "" : " (FAILED)");
  featureTrackFree(track);
  free(track);
  free(extractor);
  free(pcm);
  return ok ? 0 : 1;
}

int dumpFeatures(const char* wavPath, long long from, long long to) {
  FeatureTrack* track = (FeatureTrack*)malloc(sizeof(FeatureTrack));
  featureTrackInit(track);
  WavInfo info;
  bool ok = featuresFromWav(wavPath, track, &info);
  printf("frame  loudness  change  low high\n");
  for (long long f = from < 0 ? 0 : from; ok && f < to && f < (long long)track->count; ++f) {
    const FrameFeature& x = featureAt(*track, (size_t)f);
    printf("%6lld %7.1f %7.2f %4d %4d\n", f, loudnessDb(x.loudness), changeDb(x.change), x.low, x.high);
  }
  featureTrackFree(track);
  free(track);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && !strcmp(argv[1], "--time")) return timeFeatures(argv[2]);
  if (argc == 5 && !strcmp(argv[1], "--dump")) return dumpFeatures(argv[2], atoll(argv[3]), atoll(argv[4]));
  if (argc < 2 || argc > 4) {
    fprintf(stderr, "usage: snapBench LIST [SEED [PRESSES]] | snapBench --time WAV | snapBench --dump WAV FROM TO\n");
    return 2;
  }
  return runList(argv[1], argc >= 3 ? (unsigned)strtoul(argv[2], nullptr, 10) : 2024, argc == 4 ? argv[3] : nullptr);
}
