// The decode-file service of the stand-in player: WAV files read in the caller's thread.
#include "decodeService.h"

#include <cstring>

namespace {

struct HandObject;
typedef int(__thiscall* DispatchEntry)(HandObject* self, int message, void* result, void** params, int count);

// Every object: its first word points to its table.
struct HandObject {
  const DispatchEntry* table;
};

struct WavStream {
  HandObject object;
  HANDLE file;
  unsigned long long left;  // bytes of PCM still to read
};

volatile LONG gOpen = 0;
volatile LONG gOpened = 0;
volatile LONG gRefusals = 0;
volatile LONG gDelayMicros = 0;
CRITICAL_SECTION gBytesLock;
volatile LONG gBytesLockReady = 0;
long long gBytesRead = 0;

void addBytes(size_t n) {
  if (InterlockedCompareExchange(&gBytesLockReady, 1, 0) == 0) InitializeCriticalSection(&gBytesLock);
  EnterCriticalSection(&gBytesLock);
  gBytesRead += (long long)n;
  LeaveCriticalSection(&gBytesLock);
}

unsigned le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (unsigned)p[3] << 24; }
unsigned le16(const unsigned char* p) { return p[0] | p[1] << 8; }

bool readAll(HANDLE file, void* buffer, DWORD bytes) {
  DWORD got = 0;
  return ReadFile(file, buffer, bytes, &got, nullptr) && got == bytes;
}

// Opens a canonical WAV of 16-bit PCM and finds its data; fills the parameters. Null with the
// parameters' error code set otherwise.
WavStream* openWav(const wchar_t* name, AudioParameters* parameters);

int __thiscall streamDispatch(HandObject* self, int message, void* result, void** params, int count) {
  WavStream* stream = (WavStream*)self;
  switch (message) {
    case STREAM_READ: {
      if (count < 2) return 0;
      void* buffer = *(void**)params[0];
      size_t wanted = *(size_t*)params[1];
      if (gDelayMicros > 0) {
        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        do QueryPerformanceCounter(&now);
        while ((now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart < gDelayMicros);
      }
      DWORD take = (DWORD)(wanted < stream->left ? wanted : stream->left);
      DWORD got = 0;
      if (take && !ReadFile(stream->file, buffer, take, &got, nullptr)) got = 0;
      stream->left -= got;
      addBytes(got);
      *(size_t*)result = got;
      return 1;
    }
    case STREAM_CAN_SEEK:
      *(int*)result = 0;
      return 1;
    default:
      return 0;
  }
}
const DispatchEntry kStreamTable[] = {streamDispatch};

int __thiscall serviceDispatch(HandObject*, int message, void* result, void** params, int count) {
  switch (message) {
    case DECODE_OPEN_BACKGROUND: {
      if (count < 2) return 0;
      const wchar_t* name = *(const wchar_t**)params[0];
      AudioParameters* parameters = *(AudioParameters**)params[1];
      WavStream* stream = openWav(name, parameters);
      if (!stream) InterlockedIncrement(&gRefusals);
      *(void**)result = stream;
      return 1;
    }
    case DECODE_CLOSE: {
      if (count < 1) return 0;
      WavStream* stream = *(WavStream**)params[0];
      if (!stream) return 0;
      CloseHandle(stream->file);
      delete stream;
      InterlockedDecrement(&gOpen);
      *(int*)result = 1;
      return 1;
    }
    case DECODE_CAN_DECODE: {
      if (count < 1) return 0;
      const wchar_t* name = *(const wchar_t**)params[0];
      size_t n = name ? wcslen(name) : 0;
      *(int*)result = n > 4 && _wcsicmp(name + n - 4, L".wav") == 0;
      return 1;
    }
    default:
      return 0;
  }
}
const DispatchEntry kServiceTable[] = {serviceDispatch};
HandObject gService = {kServiceTable};

int __thiscall factoryDispatch(HandObject*, int message, void* result, void**, int) {
  switch (message) {
    case FACTORY_GET_INTERFACE:
      *(void**)result = &gService;
      return 1;
    case FACTORY_RELEASE_INTERFACE:
      *(int*)result = 1;
      return 1;
    default:
      return 0;
  }
}
const DispatchEntry kFactoryTable[] = {factoryDispatch};
HandObject gFactory = {kFactoryTable};

int __thiscall managerDispatch(HandObject*, int message, void* result, void** params, int count) {
  if (message != SERVICE_GET_FACTORY || count < 1) return 0;
  const GUID* id = (const GUID*)params[0];
  *(void**)result = memcmp(id, &DECODE_FILE_SERVICE, sizeof(GUID)) == 0 ? &gFactory : nullptr;
  return 1;
}
const DispatchEntry kManagerTable[] = {managerDispatch};
HandObject gManager = {kManagerTable};

WavStream* openWav(const wchar_t* name, AudioParameters* parameters) {
  parameters->errorCode = AUDIO_FAILED;
  size_t n = name ? wcslen(name) : 0;
  if (n < 4 || _wcsicmp(name + n - 4, L".wav") != 0) {
    parameters->errorCode = AUDIO_UNSUPPORTED_TYPE;
    return nullptr;
  }
  HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  unsigned char riff[12];
  unsigned channels = 0, rate = 0, bits = 0, tag = 0;
  unsigned long long dataBytes = 0;
  bool found = readAll(file, riff, sizeof riff) && memcmp(riff, "RIFF", 4) == 0 && memcmp(riff + 8, "WAVE", 4) == 0;
  bool data = false;
  for (int chunks = 0; found && !data && chunks < 32; ++chunks) {
    unsigned char head[8];
    if (!readAll(file, head, sizeof head)) break;
    unsigned size = le32(head + 4);
    if (memcmp(head, "fmt ", 4) == 0 && size >= 16 && size < 256) {
      unsigned char fmt[256];
      if (!readAll(file, fmt, size + (size & 1))) break;
      tag = le16(fmt);
      channels = le16(fmt + 2);
      rate = le32(fmt + 4);
      bits = le16(fmt + 14);
    } else if (memcmp(head, "data", 4) == 0) {
      dataBytes = size;
      data = true;
    } else if (SetFilePointer(file, (LONG)(size + (size & 1)), nullptr, FILE_CURRENT) == INVALID_SET_FILE_POINTER) {
      break;
    }
  }
  bool pcm16 = tag == 1 && bits == 16 && (channels == 1 || channels == 2) && (rate == 44100 || rate == 48000);
  if (!data || !pcm16) {
    CloseHandle(file);
    if (data) parameters->errorCode = AUDIO_UNSUPPORTED_TYPE;
    return nullptr;
  }
  WavStream* stream = new WavStream{{kStreamTable}, file, dataBytes};
  parameters->bitsPerSample = 16;
  parameters->channels = channels;
  parameters->sampleRate = rate;
  parameters->sampleRateReal = (float)rate;
  parameters->flags &= ~AUDIO_FLOAT_SAMPLES;
  parameters->sizeBytes = (size_t)dataBytes;
  parameters->errorCode = AUDIO_OK;
  InterlockedIncrement(&gOpen);
  InterlockedIncrement(&gOpened);
  return stream;
}

}  // namespace

void* decodeServiceManager() { return &gManager; }

DecodeCounts decodeCounts() {
  DecodeCounts counts = {gOpen, gOpened, 0, gRefusals};
  if (gBytesLockReady) {
    EnterCriticalSection(&gBytesLock);
    counts.bytesRead = gBytesRead;
    LeaveCriticalSection(&gBytesLock);
  }
  return counts;
}

void setDecodeDelay(long micros) { InterlockedExchange(&gDelayMicros, micros); }
