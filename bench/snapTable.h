// The snapping benchmark's table: where the marks of a seeded listener's presses landed against
// each transition's known boundary, per type and source. Shared by the native half (the rule on
// features computed here) and the half that runs the plug-in in the stand-in player.
#pragma once

#include <map>
#include <string>
#include <vector>

// One press. Errors in CD frames (1/75 s) from the boundary, signed.
struct Outcome {
  long long pressedError;  // the mark as pressed: the key's position less the reaction offset
  long long error;         // where the mark went
  bool moved;              // the rule moved it
  bool offered;            // a change point was offered (and not applied)
  bool offerNear;          // an offer, and taking it put the mark within 2 frames
};

// Outcomes by "type source", as the transitions' list names them.
typedef std::map<std::string, std::vector<Outcome>> OutcomeRows;

// The types and sources in the order the table shows them.
extern const char* const kSnapTypes[];
extern const char* const kSnapSources[];

// Prints the table (one row per type and source present, in the order above) and the legend;
// offerMeaning says how an offer's result was found.
void printSnapTable(const OutcomeRows& rows, int reactionOffsetMs, const char* offerMeaning);

// The frame of a position in milliseconds, floored, as a cue time truncates it.
long long frameOfMs(long long ms);
