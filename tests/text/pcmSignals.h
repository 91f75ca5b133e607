// Generated audio for the audio tests: pieces of silence, two sounds of different colour and
// crossfades between them, rendered at any rate and encoded as interleaved PCM; and the features
// of such PCM, read in blocks of a given size.
#pragma once

#include <cmath>
#include <cstring>
#include <vector>

#include "../../audio/featureExtractor.h"

enum class Sound { Silence, Low, Bright, LowToBright, Hiss };

struct Piece {
  Sound sound;
  double seconds;
  double db;  // peak level of the piece (Hiss: its RMS)
};

// The sounds at one sample of a rate: sines kept as turning phasors (a sine call for each is
// slow), exact to float precision over seconds.
struct Sounds {
  static const int kTones = 7;
  double cosine[kTones], sine[kTones], turnCos[kTones], turnSin[kTones];
  double t, step;

  explicit Sounds(unsigned rate) : t(0), step(1.0 / rate) {
    const double hz[kTones] = {110, 220, 330, 1760, 2637, 2, 3};
    for (int k = 0; k < kTones; ++k) {
      cosine[k] = 1;
      sine[k] = 0;
      turnCos[k] = cos(2 * 3.14159265358979 * hz[k] * step);
      turnSin[k] = sin(2 * 3.14159265358979 * hz[k] * step);
    }
  }

  // The sound now (fraction: how far through a crossfade), then one sample on. Low is a chord of
  // 110 Hz and its harmonics pulsing twice a second, Bright a high chord over noise pulsing three
  // times. The noise holds each value for 1/11025 s, so that every rate reads the same noise.
  double next(Sound sound, double fraction) {
    unsigned noise = (unsigned)(t * 11025) * 2654435761u;
    noise ^= noise >> 15;
    noise *= 2246822519u;
    double white = (double)(noise >> 8) / (1u << 24) * 2 - 1;
    double low = (0.6 + 0.4 * cosine[5]) * (0.5 * sine[0] + 0.3 * sine[1] + 0.2 * sine[2]);
    double bright = (0.6 + 0.4 * cosine[6]) * (0.4 * sine[3] + 0.3 * sine[4] + 0.3 * white);
    for (int k = 0; k < kTones; ++k) {
      double c = cosine[k] * turnCos[k] - sine[k] * turnSin[k];
      sine[k] = sine[k] * turnCos[k] + cosine[k] * turnSin[k];
      cosine[k] = c;
    }
    t += step;
    switch (sound) {
      case Sound::Silence: return 0;
      case Sound::Low: return low;
      case Sound::Bright: return bright;
      case Sound::LowToBright: return (1 - fraction) * low + fraction * bright;
      case Sound::Hiss: return white * 1.7320508;  // RMS 1
    }
    return 0;
  }
};

// The pieces one after another, mono, at rate.
inline std::vector<float> render(unsigned rate, const std::vector<Piece>& pieces) {
  std::vector<float> out;
  Sounds sounds(rate);
  double start = 0;
  for (const Piece& p : pieces) {
    double end = start + p.seconds;
    double gain = pow(10, p.db / 20);
    size_t first = (size_t)llround(start * rate), last = (size_t)llround(end * rate);
    for (size_t i = first; i < last; ++i)
      out.push_back((float)(gain * sounds.next(p.sound, (double)(i - first) / (last - first))));
    start = end;
  }
  return out;
}

// The samples as interleaved PCM of channels channels, each channel the same.
inline std::vector<unsigned char> encode(const std::vector<float>& mono, unsigned channels, SampleType type) {
  std::vector<unsigned char> bytes;
  for (float v : mono) {
    for (unsigned c = 0; c < channels; ++c) {
      unsigned char b[4];
      if (type == SampleType::Int16) {
        double s = floor(v * 32768.0 + 0.5);
        int16_t i = (int16_t)(s > 32767 ? 32767 : s < -32768 ? -32768 : s);
        memcpy(b, &i, 2);
        bytes.insert(bytes.end(), b, b + 2);
      } else {
        memcpy(b, &v, 4);
        bytes.insert(bytes.end(), b, b + 4);
      }
    }
  }
  return bytes;
}

// A feature track that frees itself.
struct Features {
  Features() { featureTrackInit(&track); }
  ~Features() { featureTrackFree(&track); }
  Features(const Features&) = delete;
  Features& operator=(const Features&) = delete;
  const FrameFeature& at(size_t frame) const { return featureAt(track, frame); }
  FeatureTrack track;
};

// Reads pcm into features in blocks of block bytes; false when the extractor refused.
inline bool extract(const std::vector<unsigned char>& pcm, const PcmFormat& format, size_t block, Features* out) {
  std::vector<FeatureExtractor> extractor(1);  // 8 KB: not on the stack
  if (!featureExtractorInit(&extractor[0], format, &out->track)) return false;
  for (size_t at = 0; at < pcm.size(); at += block) {
    size_t n = pcm.size() - at < block ? pcm.size() - at : block;
    if (!featureExtractorFeed(&extractor[0], pcm.data() + at, n)) return false;
  }
  return featureExtractorFinish(&extractor[0]);
}
