// The player's own decoders, through its decode-file service: a file it plays, as PCM. The
// service is found on the player's thread (hostFindDecoder); a file is then opened, read and
// closed on a worker thread, never on the player's: a decoder runs in its caller's thread and
// may take long.
#pragma once

#include <cstddef>

struct HostDecoder;  // the service, found once
struct HostAudio;    // one open file

// Asks the player for its decode-file service; null when the player has none (players before
// 5.12 answer the service manager's request as unknown). Call on the player's thread.
HostDecoder* hostFindDecoder();
// Gives the service back; every file of it closed first.
void hostReleaseDecoder(HostDecoder* decoder);

// The PCM a file comes as: interleaved signed 16-bit samples.
struct HostAudioFormat {
  unsigned sampleRate;
  unsigned channels;
  long long bytes;  // of the whole decoded file; -1 unknown
};

// Why a file gave no audio.
enum HostAudioRefusal {
  kAudioOpened,
  kAudioFailed,         // the decoder failed, or the file is not there
  kAudioUnsupported,    // no decoder takes this type
  kAudioNotAllowed,     // protected (DRM)
  kAudioOddFormat,      // the decoder gave no 16-bit PCM of 1 or 2 channels
};

// Opens a file (UTF-8 path) for decoding, asking for 16-bit samples and at most 2 channels;
// null with *refusal set when it gives no such audio.
HostAudio* hostOpenAudio(HostDecoder* decoder, const char* path, HostAudioFormat* format, HostAudioRefusal* refusal);
// Reads up to bytes of PCM into buffer; 0 at the end of the file or on a failure.
size_t hostReadAudio(HostAudio* audio, void* buffer, size_t bytes);
void hostCloseAudio(HostDecoder* decoder, HostAudio* audio);
