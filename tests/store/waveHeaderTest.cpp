// A recording's facts from its first bytes: the format of a WAV file whatever chunks stand
// before it, its length from the data chunk, and anything else no WAV file. (Reading a file's
// start is the reader matrix's: its bad sheets name WAV files in other formats.)
#include <gtest/gtest.h>

#include <string>

#include "../../store/waveHeader.h"

namespace {

std::string little(unsigned value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += (char)(value >> (8 * i) & 0xFF);
  return out;
}

std::string chunk(const std::string& id, const std::string& body, unsigned size) {
  return id + little(size, 4) + body + (size % 2 ? std::string(1, '\0') : "");
}

// A fmt chunk of the format (tag 1: PCM; 0xFFFE: extensible, 40 bytes).
std::string format(unsigned tag, unsigned channels, unsigned rate, unsigned bits) {
  unsigned align = channels * bits / 8;
  std::string body = little(tag, 2) + little(channels, 2) + little(rate, 4) + little(rate * align, 4) +
                     little(align, 2) + little(bits, 2);
  if (tag == 0xFFFE) body += little(22, 2) + std::string(22, '\x01');
  return chunk("fmt ", body, (unsigned)body.size());
}

std::string riff(const std::string& chunks) { return "RIFF" + little(4 + (unsigned)chunks.size(), 4) + "WAVE" + chunks; }

}  // namespace

TEST(WaveHeader, FormatAndLengthFromTheFirstBytes) {
  const unsigned kMinuteOfCd = 60 * 44100 * 4;
  struct {
    const char* name;
    std::string bytes;
    WaveKind wave;
    unsigned rate, bits, channels;
    long long frames;
  } cases[] = {
      {"a minute of CD audio", riff(format(1, 2, 44100, 16) + "data" + little(kMinuteOfCd, 4)), kWaveFile, 44100, 16, 2, 4500},
      {"a LIST chunk of odd size first", riff(chunk("LIST", "abc", 3) + format(1, 2, 48000, 24) + "data" + little(48000 * 6, 4)),
       kWaveFile, 48000, 24, 2, 75},
      {"extensible mono", riff(format(0xFFFE, 1, 44100, 16) + "data" + little(44100 * 2 * 10, 4)), kWaveFile, 44100, 16, 1, 750},
      {"the data chunk past the bytes read", riff(format(1, 2, 44100, 16)), kWaveFile, 44100, 16, 2, -1},
      {"a fmt chunk cut short", riff(format(1, 2, 44100, 16)).substr(0, 30), kWaveNone, 0, 0, 0, -1},
      {"a chunk larger than the file", riff(chunk("JUNK", "", 0x7FFFFFF0) + format(1, 2, 44100, 16)), kWaveNone, 0, 0, 0, -1},
      {"FLAC", "fLaC\x80\x00\x00\x22" + std::string(34, '\0'), kWaveNone, 0, 0, 0, -1},
      {"a RIFF file of another kind", "RIFF" + little(4, 4) + "AVI ", kWaveNone, 0, 0, 0, -1},
      {"empty", "", kWaveNone, 0, 0, 0, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AudioFacts facts = waveFactsOf((const unsigned char*)c.bytes.data(), c.bytes.size());
    EXPECT_EQ(facts.wave, c.wave);
    EXPECT_EQ(facts.sampleRate, c.rate);
    EXPECT_EQ(facts.bitsPerSample, c.bits);
    EXPECT_EQ(facts.channels, c.channels);
    EXPECT_EQ(facts.frames, c.frames);
  }
}
