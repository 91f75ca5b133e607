// Checking an ISRC, a catalog number, CD-TEXT and a CD's audio files.
#include "valueCheck.h"

#include "../base/limits.h"
#include "../base/text.h"
#include "discCodes.h"

namespace {

const unsigned kCdSampleRate = 44100;
const unsigned kCdBits = 16;
const unsigned kCdChannels = 2;
const size_t kChannelsTextBytes = kNumberTextBytes + 8;

Span numberText(char* field, size_t fieldBytes, long long value) {
  return Span{field, formatInt(field, fieldBytes, value)};
}

// "mono", "stereo" or "N-channel" into field.
Span channelsText(char* field, size_t fieldBytes, unsigned channels) {
  if (channels == 1) {
    copyText(field, fieldBytes, "mono");
  } else if (channels == 2) {
    copyText(field, fieldBytes, "stereo");
  } else {
    formatInt(field, fieldBytes, channels);
    appendTo(field, fieldBytes, "-channel");
  }
  return Span{field, textLength(field, fieldBytes)};
}

}  // namespace

void checkIsrc(SheetCheck* result, int line, Span code) {
  if (!isIsrc(code))
    report(result, line, "ISRC \"@\" is not 2 capitals, 3 capitals or digits, 7 digits (GBAYE0400001)", code);
}

void checkCatalog(SheetCheck* result, int line, Span code) {
  if (!isThirteenDigits(code)) {
    report(result, line, "CATALOG \"@\" is not 13 digits", code);
    return;
  }
  const char digit = catalogCheckDigit(code);
  if (digit != code.at[code.length - 1])
    report(result, line, "CATALOG @ has a wrong check digit: its last digit should be @", code, Span{&digit, 1});
}

void checkCdText(SheetCheck* result, int line, Span keyword, Span text) {
  char number[kNumberTextBytes];
  size_t chars = 0;
  Span outside = cdTextProblem(text, &chars);
  if (outside.length > 0)
    report(result, line, "@ holds \"@\", which CD-TEXT (Latin-1) cannot hold", keyword, outside);
  else if (chars > kCdTextCharsMax)
    report(result, line, "@ holds @ characters; CD-TEXT takes at most 80", keyword,
           numberText(number, sizeof number, (long long)chars));
}

void checkCdAudio(SheetCheck* result, int line, Span name, Span type, const AudioFacts* facts) {
  char rate[kNumberTextBytes], bits[kNumberTextBytes], channels[kChannelsTextBytes];
  if (!spanEquals(type, "WAVE", false))
    report(result, line, "a CD burner takes WAV files (type WAVE), not @", type);
  else if (facts && facts->wave == kWaveNone)
    report(result, line, "\"@\" is no WAV file, which a CD burner needs", name);
  else if (facts && facts->wave == kWaveFile &&
           (facts->sampleRate != kCdSampleRate || facts->bitsPerSample != kCdBits || facts->channels != kCdChannels))
    report(result, line, "\"@\" is @ Hz, @-bit, @; a CD takes 44100 Hz, 16-bit, stereo", name,
           numberText(rate, sizeof rate, facts->sampleRate), numberText(bits, sizeof bits, facts->bitsPerSample),
           channelsText(channels, sizeof channels, facts->channels));
}
