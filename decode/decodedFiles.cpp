// The decoding worker and the files it keeps. A file's slot (its path, its state) changes under
// the lock; its frames are appended by the worker alone and read by the player's thread below the
// published count, which the worker raises only after the frames are in place.
#include "decodedFiles.h"

#include "../audio/featureExtractor.h"
#include "../base/limits.h"
#include "../base/platformText.h"
#include "../base/text.h"

namespace {

const size_t kFilesKept = 4;             // the playing file, the sheet's files, one more
const size_t kReadBytes = 64 * 1024;     // of PCM a read: about 0.4 s of CD audio
const LONG kProgressStep = 2;            // percent between two progress notices
const int kNoFile = -1;

struct FileAudio {
  bool used;
  char path[kPathBytes];
  DWORD lastWanted;          // tick of the last request, for giving the room back
  FeatureTrack track;        // appended by the worker only
  volatile LONG published;   // frames of track the player's thread may read
  volatile LONG state;       // DecodeState
  volatile LONG refusal;     // HostAudioRefusal
  volatile LONG percent;
};

struct Decoding {
  bool open;
  HWND notify;
  UINT message;
  bool decoderAsked;
  HostDecoder* decoder;
  HANDLE thread;
  HANDLE wake;               // set when a file is wanted or the worker must stop
  volatile LONG stop;
  volatile LONG active;      // the slot being read, kNoFile when none
  CRITICAL_SECTION lock;
  FileAudio files[kFilesKept];
};

Decoding gDecoding;  // zero until openDecoding

void notifyProgress(DecodeState state, LONG percent) {
  if (gDecoding.notify) PostMessageW(gDecoding.notify, gDecoding.message, (WPARAM)state, (LPARAM)percent);
}

int slotOf(const char* path) {
  for (size_t i = 0; i < kFilesKept; ++i)
    if (gDecoding.files[i].used && samePath(gDecoding.files[i].path, path)) return (int)i;
  return kNoFile;
}

// The next file to read, now being read; kNoFile when none waits.
int takeWaitingFile() {
  EnterCriticalSection(&gDecoding.lock);
  int chosen = kNoFile;
  for (size_t i = 0; i < kFilesKept && chosen == kNoFile; ++i)
    if (gDecoding.files[i].used && gDecoding.files[i].state == kDecodeWaiting) chosen = (int)i;
  if (chosen != kNoFile) {
    InterlockedExchange(&gDecoding.files[chosen].state, kDecodeReading);
    InterlockedExchange(&gDecoding.active, chosen);
  }
  LeaveCriticalSection(&gDecoding.lock);
  return chosen;
}

void finishFile(FileAudio* file, DecodeState state, HostAudioRefusal refusal) {
  InterlockedExchange(&file->refusal, refusal);
  InterlockedExchange(&file->state, state);
  InterlockedExchange(&gDecoding.active, kNoFile);
  notifyProgress(state, file->percent);
}

// Reads one file to its end (or until the worker must stop), publishing frames as they come.
void decodeOne(FileAudio* file) {
  HostAudioFormat format;
  HostAudioRefusal refusal = kAudioFailed;
  HostAudio* audio = hostOpenAudio(gDecoding.decoder, file->path, &format, &refusal);
  FeatureExtractor* extractor = audio ? (FeatureExtractor*)GlobalAlloc(GMEM_FIXED, sizeof(FeatureExtractor)) : nullptr;
  unsigned char* buffer = extractor ? (unsigned char*)GlobalAlloc(GMEM_FIXED, kReadBytes) : nullptr;
  PcmFormat pcm = {format.sampleRate, format.channels, SampleType::Int16};
  bool reading = buffer && featureExtractorInit(extractor, pcm, &file->track);
  if (audio && !reading) refusal = kAudioOddFormat;
  long long done = 0;
  LONG shown = 0;
  while (reading && !gDecoding.stop) {
    size_t got = hostReadAudio(audio, buffer, kReadBytes);
    if (got == 0) break;
    reading = featureExtractorFeed(extractor, buffer, got);
    InterlockedExchange(&file->published, (LONG)file->track.count);
    done += (long long)got;
    if (format.bytes > 0) {
      LONG percent = (LONG)(done * 100 / format.bytes);
      InterlockedExchange(&file->percent, percent > 100 ? 100 : percent);
      if (percent >= shown + kProgressStep) {
        shown = percent;
        notifyProgress(kDecodeReading, percent);
      }
    }
  }
  bool whole = extractor && !gDecoding.stop && featureExtractorFinish(extractor);
  if (extractor) InterlockedExchange(&file->published, (LONG)file->track.count);
  if (buffer) GlobalFree(buffer);
  if (extractor) GlobalFree(extractor);
  if (audio) hostCloseAudio(gDecoding.decoder, audio);
  if (whole) InterlockedExchange(&file->percent, 100);
  // A file read in part keeps what it has, as a refused one (a failing decoder, memory run out).
  finishFile(file, whole ? kDecodeDone : kDecodeRefused, whole ? kAudioOpened : refusal);
}

DWORD WINAPI decodeWorker(LPVOID) {
  while (!gDecoding.stop) {
    int slot = takeWaitingFile();
    if (slot == kNoFile) {
      WaitForSingleObject(gDecoding.wake, INFINITE);
      continue;
    }
    decodeOne(&gDecoding.files[slot]);
  }
  return 0;
}

// The slot a newly wanted file takes: a free one, else the one wanted longest ago that is not
// being read (its audio goes). Under the lock.
int freeSlot() {
  int oldest = kNoFile;
  for (size_t i = 0; i < kFilesKept; ++i) {
    FileAudio& file = gDecoding.files[i];
    if (!file.used) return (int)i;
    if ((LONG)i == gDecoding.active) continue;
    if (oldest == kNoFile || file.lastWanted - gDecoding.files[oldest].lastWanted > 0x80000000u) oldest = (int)i;
  }
  if (oldest != kNoFile) featureTrackFree(&gDecoding.files[oldest].track);
  return oldest;
}

bool startWorker() {
  if (gDecoding.thread) return true;
  gDecoding.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!gDecoding.wake) return false;
  gDecoding.thread = CreateThread(nullptr, 0, decodeWorker, nullptr, 0, nullptr);
  if (!gDecoding.thread) return false;
  SetThreadPriority(gDecoding.thread, THREAD_PRIORITY_LOWEST);
  return true;
}

}  // namespace

void openDecoding(HWND notify, UINT message) {
  if (gDecoding.open) return;
  InitializeCriticalSection(&gDecoding.lock);
  gDecoding.open = true;
  gDecoding.notify = notify;
  gDecoding.message = message;
  gDecoding.active = kNoFile;
  gDecoding.stop = 0;
  for (FileAudio& file : gDecoding.files) {
    file.used = false;
    featureTrackInit(&file.track);
  }
}

void wantAudioOf(const char* path) {
  if (!gDecoding.open || !path || !path[0]) return;
  if (!gDecoding.decoderAsked) {
    gDecoding.decoderAsked = true;
    gDecoding.decoder = hostFindDecoder();
  }
  if (!gDecoding.decoder) return;
  EnterCriticalSection(&gDecoding.lock);
  int slot = slotOf(path);
  bool added = false;
  if (slot == kNoFile) {
    slot = freeSlot();
    if (slot != kNoFile) {
      FileAudio& file = gDecoding.files[slot];
      file.used = true;
      copyText(file.path, sizeof file.path, path);
      featureTrackInit(&file.track);
      file.published = 0;
      file.refusal = kAudioOpened;
      file.percent = -1;
      file.state = kDecodeWaiting;
      added = true;
    }
  }
  if (slot != kNoFile) gDecoding.files[slot].lastWanted = GetTickCount();
  LeaveCriticalSection(&gDecoding.lock);
  if (added && startWorker()) SetEvent(gDecoding.wake);
}

void wantAudioOfWide(const wchar_t* path) {
  char utf8[kPathBytes];
  wchar_t copy[kPathChars];
  // The player's text, read no further than a path may reach.
  size_t units = 0;
  while (units < kPathChars - 1 && path[units]) {
    copy[units] = path[units];
    ++units;
  }
  if (path[units]) return;
  copy[units] = L'\0';
  if (fromWide(copy, utf8, sizeof utf8) > 0) wantAudioOf(utf8);
}

DecodedFile decodedAudioOf(const char* path) {
  DecodedFile answer = {kDecodeUnknown, kAudioOpened, -1, {nullptr, 0, false}};
  if (!gDecoding.open) return answer;
  if (gDecoding.decoderAsked && !gDecoding.decoder) {
    answer.state = kDecodeNoDecoder;
    return answer;
  }
  EnterCriticalSection(&gDecoding.lock);
  int slot = path && path[0] ? slotOf(path) : kNoFile;
  if (slot != kNoFile) {
    FileAudio& file = gDecoding.files[slot];
    answer.state = (DecodeState)file.state;
    answer.refusal = (HostAudioRefusal)file.refusal;
    answer.percent = (int)file.percent;
    answer.audio.track = &file.track;
    answer.audio.frames = (size_t)file.published;
    answer.audio.wholeFile = answer.state == kDecodeDone;
  }
  LeaveCriticalSection(&gDecoding.lock);
  return answer;
}

bool closeDecoding(DWORD waitMs) {
  if (!gDecoding.open) return true;
  if (gDecoding.thread) {
    InterlockedExchange(&gDecoding.stop, 1);
    SetEvent(gDecoding.wake);
    if (WaitForSingleObject(gDecoding.thread, waitMs) != WAIT_OBJECT_0) return false;
    CloseHandle(gDecoding.thread);
    gDecoding.thread = nullptr;
  }
  if (gDecoding.wake) CloseHandle(gDecoding.wake);
  gDecoding.wake = nullptr;
  for (FileAudio& file : gDecoding.files) {
    featureTrackFree(&file.track);
    file.used = false;
  }
  hostReleaseDecoder(gDecoding.decoder);
  gDecoding.decoder = nullptr;
  gDecoding.decoderAsked = false;
  gDecoding.notify = nullptr;
  DeleteCriticalSection(&gDecoding.lock);
  gDecoding.open = false;
  return true;
}
