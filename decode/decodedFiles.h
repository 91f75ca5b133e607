// The audio of the files the plug-in works with, as per-frame features: a worker thread at low
// priority reads each file through the player's own decoders, one file at a time; the player's
// thread reads what is ready at any moment and never waits for the worker. Progress and the end
// of each file are posted to a window as a message.
#pragma once

#include <windows.h>

#include "../audio/markSnap.h"
#include "../host/hostDecoder.h"

// What is known of a file's audio now.
enum DecodeState {
  kDecodeUnknown,      // never asked for
  kDecodeWaiting,      // asked for, not begun
  kDecodeReading,      // being read: audio.frames grows
  kDecodeDone,         // read whole
  kDecodeRefused,      // the player's decoders gave no audio (refusal says why)
  kDecodeNoDecoder,    // the player has no decode-file service
};

struct DecodedFile {
  DecodeState state;
  HostAudioRefusal refusal;
  int percent;         // of the file read, when its length is known; -1 otherwise
  DecodedAudio audio;  // the frames read so far (track null before any)
};

// Readies the decoding: notify gets message (wParam: the state, lParam: the percent) as files
// progress. Nothing is asked of the player until a file is wanted. Call on the player's thread.
void openDecoding(HWND notify, UINT message);

// Asks for a file's audio (UTF-8 path); the file read last is kept too, a few others as room
// allows. The first call asks the player for its decoders. Call on the player's thread.
void wantAudioOf(const char* path);

// The same for a UTF-16 path, as the player's notice of a file that begins to play gives it.
void wantAudioOfWide(const wchar_t* path);

// What is known of a file's audio (UTF-8 path) now; the frames stay valid until the next call of
// wantAudioOf or closeDecoding.
DecodedFile decodedAudioOf(const char* path);

// Stops the worker and frees every file's audio, waiting at most waitMs for the worker to stop.
// Returns false when it is still running then: it is left to finish, and its code must stay loaded.
bool closeDecoding(DWORD waitMs);
