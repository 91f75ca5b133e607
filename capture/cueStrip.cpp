// What the Cue window's strip shows, worked out anew at every refresh and handed to the strip
// only where it differs from what the strip was given last.
#include "cueStrip.h"

#include "../audio/stripScale.h"
#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/waveStrip.h"
#include "../host/hostLink.h"
#include "../res/resource.h"
#include "stripSheet.h"
#include "waveCopies.h"
#include "waveMarkers.h"

namespace {

const long long kDefaultHalf = 4 * kFramesPerSecond;
const int kShownMarksMost = 64;  // marks within one range; more are not drawn
const size_t kStatusBytes = WAVESTRIP_STATUS_CHARS * kUtf8BytesPerUnit;
const size_t kNoMark = (size_t)-1;
const size_t kMinMaxStride = 2;
const long long kMsPerSecond = 1000;

const char kReading[] = "Reading the audio\xE2\x80\xA6 ";
const char kPercent[] = " %";
const char kNoCaretMark[] = "Put the caret in a track to see the audio around its mark";
const char kNoRecording[] = "No waveform: the recording of this mark is not known; play it";
const char kNoDecoder[] = "No waveform: this player decodes no files for plug-ins (players from 5.12 on do)";
const char kUnsupported[] = "No waveform: the player has no decoder for this type of file";
const char kNotAllowed[] = "No waveform: the file is protected against decoding";
const char kOddFormat[] = "No waveform: the player's decoder gives no 16-bit audio of this file";
const char kFailed[] = "No waveform: the player's decoder could not read this file";

// What the strip was given last.
struct Shown {
  char path[kPathBytes];
  long long centre;
  long long half;
  const signed char* minMax;
  long long frames;
  long long total;
  long long marks[kShownMarksMost];
  int markCount;
  int current;
  long long play;
  char status[kStatusBytes];
  long long markersFirst;  // the stretch the markers were found in, and the frames decoded then
  long long markersLast;
  size_t markersDecoded;
  const FeatureTrack* markersTrack;
};

struct StripView {
  HWND strip;
  bool looking;     // at the caret's mark (else following the play position)
  bool playSeen;    // looking, the play position was inside the range
  bool holding;     // a drag: the range stays
  long long half;
  size_t markAt;    // where the time of the caret's mark centred on stands in the text
  size_t saidAt;    // the caret's mark the line under the editor speaks of (kNoMark: none)
  Shown shown;
};

StripView gView;  // zero until attachStrip

struct PlayerNow {
  bool active;  // playing or paused: the position means something
  long long frame;
  char path[kPathBytes];
};

long long distance(long long a, long long b) { return a > b ? a - b : b - a; }

// The player's current entry, asked again when the play state changes, a file begins, and
// every kPathTicks refreshes otherwise: every request of the strip is one more in the player's
// queue, ten times a second.
struct PlayingEntry {
  bool known;
  int state;
  int age;  // refreshes since it was asked
  char path[kPathBytes];
};

const int kPathTicks = 10;
PlayingEntry gPlaying;  // zero: not known

void playerNow(PlayerNow* now) {
  int state = hostPlayState();
  if (!gPlaying.known || state != gPlaying.state || ++gPlaying.age >= kPathTicks) {
    hostEntryPathText(hostPlaylistIndex(), gPlaying.path);
    gPlaying.known = true;
    gPlaying.state = state;
    gPlaying.age = 0;
  }
  copyText(now->path, sizeof now->path, gPlaying.path);
  bool going = state == HOST_STATE_PLAYING || state == HOST_STATE_PAUSED;
  int ms = going ? hostPositionMs() : -1;
  now->active = going && ms >= 0;
  now->frame = now->active ? (long long)ms * kFramesPerSecond / kMsPerSecond : -1;
}

void refusalText(HostAudioRefusal refusal, char* out) {
  const char* text = refusal == kAudioUnsupported ? kUnsupported
                     : refusal == kAudioNotAllowed ? kNotAllowed
                     : refusal == kAudioOddFormat  ? kOddFormat
                                                   : kFailed;
  copyText(out, kStatusBytes, text);
}

// What stands instead of the wave, into status (kStatusBytes); empty: the wave.
void statusOf(const char* path, bool hasMark, const WaveCopy& wave, long long rangeEnd, char* status) {
  status[0] = '\0';
  DecodeState state = wave.decoded.state;
  if (!path[0]) {
    copyText(status, kStatusBytes, hasMark ? kNoRecording : kNoCaretMark);
  } else if (state == kDecodeNoDecoder) {
    copyText(status, kStatusBytes, kNoDecoder);
  } else if (state == kDecodeRefused && wave.frames == 0) {
    refusalText(wave.decoded.refusal, status);
  } else if (state != kDecodeDone && state != kDecodeRefused && wave.totalFrames == 0 && wave.frames < rangeEnd) {
    char number[kNumberTextBytes];
    formatInt(number, sizeof number, wave.decoded.percent > 0 ? wave.decoded.percent : 0);
    copyText(status, kStatusBytes, kReading);
    appendTo(status, kStatusBytes, number);
    appendTo(status, kStatusBytes, kPercent);
  }
}

bool sameMarks(const long long* marks, int count, int current) {
  if (count != gView.shown.markCount || current != gView.shown.current) return false;
  for (int i = 0; i < count; ++i)
    if (marks[i] != gView.shown.marks[i]) return false;
  return true;
}

// The silence ends and change points of [first, last], found again when the stretch or the
// audio decoded changed.
void showMarkers(const DecodedAudio& audio, long long first, long long last) {
  Shown& shown = gView.shown;
  if (first < 0) first = 0;
  if (audio.track == shown.markersTrack && audio.frames == shown.markersDecoded && first == shown.markersFirst &&
      last == shown.markersLast)
    return;
  shown.markersTrack = audio.track;
  shown.markersDecoded = audio.frames;
  shown.markersFirst = first;
  shown.markersLast = last;
  long long ends[kWaveMarkersMost];
  long long changes[kWaveMarkersMost];
  int endCount = audio.track ? silenceEndsIn(audio, first, last, ends, kWaveMarkersMost) : 0;
  int changeCount = audio.track ? changePointsIn(audio, first, last, changes, kWaveMarkersMost) : 0;
  waveStripSetSilenceEnds(gView.strip, ends, endCount);
  waveStripSetChangePoints(gView.strip, changes, changeCount);
}

// Hands the strip what differs from what it was given last.
void show(const char* path, long long centre, const WaveCopy& wave, const long long* marks, int markCount,
          int current, long long play, const char* status) {
  Shown& shown = gView.shown;
  HWND strip = gView.strip;
  if (centre != shown.centre || gView.half != shown.half) {
    waveStripSetRange(strip, centre, gView.half);
    shown.centre = centre;
    shown.half = gView.half;
  }
  if (!samePath(path, shown.path) || wave.minMax != shown.minMax || wave.frames != shown.frames ||
      wave.totalFrames != shown.total) {
    waveStripSetData(strip, wave.minMax, kMinMaxStride, wave.frames, wave.totalFrames);
    copyText(shown.path, sizeof shown.path, path);
    shown.minMax = wave.minMax;
    shown.frames = wave.frames;
    shown.total = wave.totalFrames;
  }
  if (!sameMarks(marks, markCount, current) && waveStripSetMarks(strip, marks, markCount, current)) {
    for (int i = 0; i < markCount; ++i) shown.marks[i] = marks[i];
    shown.markCount = markCount;
    shown.current = current;
  }
  showMarkers(wave.decoded.audio, centre - gView.half, centre + gView.half);
  if (play != shown.play) {
    waveStripSetPlayPosition(strip, play);
    shown.play = play;
  }
  if (!textsEqual(status, shown.status)) {
    waveStripSetStatus(strip, status);
    copyText(shown.status, sizeof shown.status, status);
  }
}

}  // namespace

void attachStrip(HWND strip) {
  if (gView.strip && !strip) {
    waveStripSetData(gView.strip, nullptr, 0, 0, 0);  // the strip keeps no pointer into freed copies
    freeWaveCopies();
    forgetStripSheet();
  }
  gView = StripView{};
  gView.strip = strip;
  gView.half = kDefaultHalf;
  gView.markAt = kNoMark;
  gView.saidAt = kNoMark;
  gView.shown.current = -1;
  gView.shown.play = -1;
  gView.shown.half = kDefaultHalf;
  gPlaying = PlayingEntry{};
}

void refreshStrip() {
  if (!gView.strip) return;
  PlayerNow player;
  playerNow(&player);
  CaretMark mark = caretMarkFor(player.path);
  // What Snap said of a mark is not left standing under another one.
  if (gView.saidAt != kNoMark && (!mark.found || mark.timeAt != gView.saidAt)) {
    gView.saidAt = kNoMark;
    SetDlgItemTextW(GetParent(gView.strip), IDC_CUE_STATUS, L"");
  }
  bool follow = player.active && (!gView.looking || !mark.found);
  char path[kPathBytes] = "";
  long long centre = gView.shown.centre;
  if (follow) {
    copyText(path, sizeof path, player.path);
    if (!gView.holding) centre = player.frame;
    gView.markAt = kNoMark;  // looked at again, the caret's mark is centred anew
  } else if (mark.found) {
    copyText(path, sizeof path, mark.path);
    bool sameMark = mark.timeAt == gView.markAt && samePath(path, gView.shown.path);
    if (!gView.holding && (!sameMark || distance(mark.frames, centre) >= gView.half)) centre = mark.frames;
    gView.markAt = mark.timeAt;
  }
  // A Listen heard out past the range: the user follows the music again.
  if (!follow && gView.looking && player.active && path[0] && samePath(player.path, path)) {
    if (distance(player.frame, centre) < gView.half) gView.playSeen = true;
    else if (gView.playSeen && player.frame > centre && !gView.holding) gView.looking = false;
  }
  long long marks[kShownMarksMost];
  int current = -1;
  int markCount =
      marksOfRecording(path, player.path, centre - gView.half, centre + gView.half, marks, kShownMarksMost, &current);
  // A sheet without TRACK lines: the caret's mark alone.
  if (!follow && mark.found && current < 0 && markCount < kShownMarksMost &&
      distance(mark.frames, centre) <= gView.half) {
    current = markCount;
    marks[markCount++] = mark.frames;
  }
  WaveCopy wave = {nullptr, 0, 0, DecodedFile{kDecodeUnknown, kAudioOpened, -1, {nullptr, 0, false}}};
  if (path[0]) wave = waveCopyOf(path);
  char status[kStatusBytes];
  statusOf(path, mark.found, wave, centre + gView.half, status);
  long long play = player.active && path[0] && samePath(player.path, path) ? player.frame : -1;
  if (status[0]) {  // the line alone: no lines over it
    markCount = 0;
    play = -1;
    wave.decoded.audio.track = nullptr;
  }
  show(path, centre, wave, marks, markCount, current, play, status);
}

void stripHearsFileStart() { gPlaying.known = false; }

void stripLineSpeaksOfCaretMark() {
  if (!gView.strip) return;
  const CaretMark& mark = caretMarkFor(gPlaying.path);
  gView.saidAt = mark.found ? mark.timeAt : kNoMark;
}

void lookAtCaretMark() {
  gView.looking = true;
  gView.playSeen = false;
}

void followPlayPosition() { gView.looking = false; }

void keepStripHalf(long long halfFrames) {
  gView.half = clampStripHalf(halfFrames);
  gView.shown.half = gView.half;  // the strip zoomed itself
}

void holdStripRange(bool hold) { gView.holding = hold; }

bool stripShowsCaretMark() { return gView.strip && gView.shown.current >= 0; }
