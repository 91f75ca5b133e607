// What the strip marks on the audio besides the sheet's marks: the ends of silences and the
// change points in the stretch it shows, found as the Snap button finds them.
#pragma once

#include "../audio/markSnap.h"

const int kWaveMarkersMost = 32;  // of each kind in one stretch

// The silence ends in [first, last] of the decoded frames, in order, into out (at most outMost,
// the latest ones kept); the threshold comes from the loud level of the stretch and the
// kLoudContextFrames around it. Returns how many.
int silenceEndsIn(const DecodedAudio& audio, long long first, long long last, long long* out, int outMost);

// The change points in [first, last], in order: the strongest change within kSnapWindowFrames
// of every second of the stretch, as Snap would move a mark there to (at most outMost).
int changePointsIn(const DecodedAudio& audio, long long first, long long last, long long* out, int outMost);
