// What the sheet check cannot read from a sheet's text: the facts of a FILE line's recording,
// found by the caller (its length from the player, the format from a WAV file's header).
#pragma once

enum WaveKind {
  kWaveUnknown,  // not read: nothing is known of the format
  kWaveNone,     // the file was read and is no WAV file (a FLAC file under the type WAVE, say)
  kWaveFile,     // a WAV file of PCM audio in the format below
};

struct AudioFacts {
  long long frames;  // the length in frames of 1/75 s; -1 when not known
  WaveKind wave;
  unsigned sampleRate;     // with kWaveFile
  unsigned bitsPerSample;
  unsigned channels;
};

// What Save knows when the sheet is meant for a CD ("Check for burning a CD").
struct CdFacts {
  const AudioFacts* files;  // the recording of each FILE block in order (null with fileCount 0);
  unsigned fileCount;       // blocks past it are not known
  bool utf8Text;            // the file's text is written as UTF-8, which burners read as Latin-1
};
