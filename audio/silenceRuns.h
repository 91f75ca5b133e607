// Silence among the frames: a threshold from the loud level around a place, and the run of
// silent frames whose end lies nearest to it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frameFeatures.h"

const int kLoudPercentile = 90;    // the loud level: this percentile of the frames' loudness
const int kSilenceBelowLoudDb = 40;
const int kSilenceCeilingDb = -50;  // a threshold is never above this
const int kFloorPercentile = 2;     // the noise floor: this percentile of the frames' loudness
const int kSilenceAboveFloorDb = 7;
const long long kSilenceRunFrames = 11;  // 0.15 s in whole frames (0.147 s)
const long long kSoundBackFrames = 6;   // 0.08 s: sound shorter than this between silences is silence
const long long kHeardSoundFrames = 19;  // 0.25 s: sound after a press that leaves the silence after it heard

// The loudness byte below which a frame counts as silent, from the frames [from, to) of track
// (to > from): the loud level less kSilenceBelowLoudDb, at most kSilenceCeilingDb. Quiet music
// under a steady noise (a tape's hiss) puts that level inside the noise, whose frames then count
// as silent and as sound by turns: so the threshold is at least kSilenceAboveFloorDb above the
// noise floor, when the floor is no digital silence and that stays within kSilenceCeilingDb (a
// floor louder than that is the music's own quietest frames, which must not count as silence).
uint8_t silenceThreshold(const FeatureTrack& track, size_t from, size_t to);

// Among the runs of at least kSilenceRunFrames frames quieter than threshold, in the first
// frames of track, that end in [first, last]: the end nearest to target (the earlier on a tie),
// as the index of the first frame that is not silent. Fewer than kSoundBackFrames frames of
// sound with silence after them belong to the run. A run after target counts only when at
// most kHeardSoundFrames frames of sound lie between target and it: a listener who pressed
// before more sound than that heard a boundary other than the sound after that silence.
// -1 when there is none: a run that lasts to the last of frames has no end.
long long nearestSilenceEnd(const FeatureTrack& track, size_t frames, uint8_t threshold, long long first,
                            long long last, long long target);
