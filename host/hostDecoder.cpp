// The decode-file service: found through the player's service manager and its factory, then
// called by message number with each argument passed by the address of its value.
#include "hostDecoder.h"

#include "../base/limits.h"
#include "../base/platformText.h"
#include "hostLink.h"

struct HostDecoder {
  DispatchObject* factory;
  DispatchObject* service;
};

struct HostAudio {
  DispatchObject* stream;
};

namespace {

const int kGlobalLock = 1;
const unsigned kBitsWanted = 16;
const unsigned kChannelsMost = 2;

HostAudioRefusal refusalOf(unsigned errorCode) {
  switch (errorCode) {
    case AUDIO_UNSUPPORTED_TYPE:
    case AUDIO_NO_DIRECT_DECODING: return kAudioUnsupported;
    case AUDIO_NOT_ALLOWED: return kAudioNotAllowed;
    default: return kAudioFailed;
  }
}

}  // namespace

HostDecoder* hostFindDecoder() {
  DispatchObject* manager = hostServiceManager();
  if (!manager) return nullptr;
  GUID id = DECODE_FILE_SERVICE;
  void* idArg = &id;
  DispatchObject* factory = nullptr;
  if (!manager->dispatch(SERVICE_GET_FACTORY, &factory, &idArg, 1) || !factory) return nullptr;
  int lock = kGlobalLock;
  void* lockArg = &lock;
  DispatchObject* service = nullptr;
  if (!factory->dispatch(FACTORY_GET_INTERFACE, &service, &lockArg, 1) || !service) return nullptr;
  HostDecoder* decoder = (HostDecoder*)GlobalAlloc(GMEM_FIXED, sizeof(HostDecoder));
  if (!decoder) {
    void* serviceArg = &service;
    int released = 0;
    factory->dispatch(FACTORY_RELEASE_INTERFACE, &released, &serviceArg, 1);
    return nullptr;
  }
  decoder->factory = factory;
  decoder->service = service;
  return decoder;
}

void hostReleaseDecoder(HostDecoder* decoder) {
  if (!decoder) return;
  void* serviceArg = &decoder->service;
  int released = 0;
  decoder->factory->dispatch(FACTORY_RELEASE_INTERFACE, &released, &serviceArg, 1);
  GlobalFree(decoder);
}

HostAudio* hostOpenAudio(HostDecoder* decoder, const char* path, HostAudioFormat* format, HostAudioRefusal* refusal) {
  *refusal = kAudioFailed;
  wchar_t widePath[kPathChars];
  if (!decoder || !toWide(path, widePath, kPathChars)) return nullptr;
  AudioParameters parameters = {kBitsWanted, kChannelsMost, 0, 0.0f, AUDIO_CHANNELS_AT_MOST, (size_t)-1, AUDIO_OK};
  const wchar_t* name = widePath;
  AudioParameters* parametersPointer = &parameters;
  void* args[] = {&name, &parametersPointer};
  DispatchObject* stream = nullptr;
  decoder->service->dispatch(DECODE_OPEN_BACKGROUND, &stream, args, 2);
  if (!stream) {
    *refusal = refusalOf(parameters.errorCode == AUDIO_OK ? AUDIO_FAILED : parameters.errorCode);
    return nullptr;
  }
  // The decoder does its best and says what it gives.
  bool usable = parameters.errorCode == AUDIO_OK && parameters.bitsPerSample == kBitsWanted &&
                !(parameters.flags & AUDIO_FLOAT_SAMPLES) && parameters.channels >= 1 &&
                parameters.channels <= kChannelsMost && parameters.sampleRate > 0;
  HostAudio* audio = usable ? (HostAudio*)GlobalAlloc(GMEM_FIXED, sizeof(HostAudio)) : nullptr;
  if (!audio) {
    void* streamArg = &stream;
    int closed = 0;
    decoder->service->dispatch(DECODE_CLOSE, &closed, &streamArg, 1);
    *refusal = usable ? kAudioFailed : parameters.errorCode != AUDIO_OK ? refusalOf(parameters.errorCode) : kAudioOddFormat;
    return nullptr;
  }
  audio->stream = stream;
  format->sampleRate = parameters.sampleRate;
  format->channels = parameters.channels;
  format->bytes = parameters.sizeBytes == (size_t)-1 ? -1 : (long long)parameters.sizeBytes;
  *refusal = kAudioOpened;
  return audio;
}

size_t hostReadAudio(HostAudio* audio, void* buffer, size_t bytes) {
  if (!audio || !buffer || bytes == 0) return 0;
  void* args[] = {&buffer, &bytes};
  size_t got = 0;
  if (!audio->stream->dispatch(STREAM_READ, &got, args, 2)) return 0;
  return got <= bytes ? got : 0;
}

void hostCloseAudio(HostDecoder* decoder, HostAudio* audio) {
  if (!audio) return;
  if (decoder) {
    void* streamArg = &audio->stream;
    int closed = 0;
    decoder->service->dispatch(DECODE_CLOSE, &closed, &streamArg, 1);
  }
  GlobalFree(audio);
}
