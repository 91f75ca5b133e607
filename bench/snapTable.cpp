// The snapping benchmark's table.
#include "snapTable.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

const char* const kSnapTypes[] = {"gap", "gap-hiss", "quiet-hiss", "cut", "quiet-cut", "jingle", "applause",
                                  "crossfade", nullptr};
const char* const kSnapSources[] = {"synthetic", "real-wav", "real-ogg", "real-mp3", nullptr};

namespace {

const long long kFramesPerSecond = 75;
const long long kNearFrames = 2;   // "within 2 frames", and "worse by more than 2"
const long long kCloseFrames = 1;  // "within 1 frame"

// The nearest-rank percentile, in whole numbers (the i686 build's x87 arithmetic would round a
// fraction such as 0.9 x 220 the other way).
double percentile(std::vector<long long> values, size_t percent) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t rank = (percent * values.size() + 99) / 100;
  return (double)values[rank ? rank - 1 : 0];
}

template <class Test>
double share(const std::vector<Outcome>& all, Test test) {
  size_t n = 0;
  for (const Outcome& o : all) n += test(o) ? 1 : 0;
  return all.empty() ? 0 : 100.0 * (double)n / (double)all.size();
}

void printRow(const char* type, const char* source, const std::vector<Outcome>& all) {
  std::vector<long long> errors, pressed;
  for (const Outcome& o : all) {
    errors.push_back(std::llabs(o.error));
    pressed.push_back(std::llabs(o.pressedError));
  }
  double offered = share(all, [](const Outcome& o) { return o.offered; });
  double offeredNear = share(all, [](const Outcome& o) { return o.offered && o.offerNear; });
  printf("%-10s %-9s %5lu | %6.0f %4.0f %5.0f%% %5.0f%% %5.1f%% %6.0f%% | %6.0f %5.0f%% | %6.0f%% %6.0f%%\n", type,
         source, (unsigned long)all.size(), percentile(errors, 50), percentile(errors, 90),
         share(all, [](const Outcome& o) { return std::llabs(o.error) <= kCloseFrames; }),
         share(all, [](const Outcome& o) { return std::llabs(o.error) <= kNearFrames; }),
         share(all, [](const Outcome& o) { return std::llabs(o.error) > std::llabs(o.pressedError) + kNearFrames; }),
         share(all, [](const Outcome& o) { return !o.moved; }), percentile(pressed, 50),
         share(all, [](const Outcome& o) { return std::llabs(o.pressedError) <= kNearFrames; }), offered,
         offered > 0 ? 100 * offeredNear / offered : 0.0);
}

}  // namespace

long long frameOfMs(long long ms) { return ms * kFramesPerSecond / 1000; }

void printSnapTable(const OutcomeRows& rows, int reactionOffsetMs, const char* offerMeaning) {
  printf("%-10s %-9s %5s | %6s %4s %6s %6s %6s %7s | %6s %6s | %7s %7s\n", "type", "source", "press", "median",
         "p90", "<=1", "<=2", "worse", "still", "pr.med", "pr.<=2", "offered", "off.<=2");
  for (const char* const* type = kSnapTypes; *type; ++type)
    for (const char* const* source = kSnapSources; *source; ++source) {
      auto found = rows.find(std::string(*type) + " " + *source);
      if (found != rows.end()) printRow(*type, *source, found->second);
    }
  printf("columns: error in frames (1/75 s) from the boundary after the rule: median, 90th percentile, share within\n"
         "1 and 2 frames, share made worse by more than 2 frames, share left as pressed; as pressed (less %d ms):\n"
         "median, share within 2 frames; change points offered (not applied), and of those the share where %s\n"
         "put the mark within 2 frames\n",
         reactionOffsetMs, offerMeaning);
}
