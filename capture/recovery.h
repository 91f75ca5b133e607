// The recovery copy: the sheet in the Cue window, kept in a file beside plugin.ini after every
// change and at quit, so that a crash or a closed player loses at most the entry being typed.
// A saved or empty sheet leaves no copy.
#pragma once

#include <windows.h>

// At start-up, once the Cue window exists: starts the copy's writer and puts an unsaved copy
// back into the editor with its entry counter and audio file. A copy that is damaged (cut short, binary, huge, unreadable) is
// never restored and never deleted: it is moved aside under another name. Returns whether a
// sheet came back.
bool restoreRecoveryCopy();

// Writes the copy now (on the writer's thread, within milliseconds): the sheet as it stands, or
// no copy when it is saved or empty.
void keepRecoveryCopy();
// After a hand edit: the copy is written within kRecoveryDelayMs.
void keepRecoveryCopySoon();
// The Cue window's timer that keepRecoveryCopySoon started has fired.
void onRecoveryTimer();

// At quit, before the Cue window goes: the last copy, written before this returns, and no timer
// or thread left.
void closeRecovery();

const UINT_PTR RECOVERY_TIMER_ID = 1;
const UINT kRecoveryDelayMs = 2000;

// File names, in the plug-in's folder.
extern const char RECOVERY_FILE_NAME[];
