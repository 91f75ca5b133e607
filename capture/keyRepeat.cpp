// Telling the repeats of a hot key held down from presses, by the keys down and the time between.
#include "keyRepeat.h"

#include <windows.h>

namespace {

const DWORD kRepeatGapMs = 300;   // presses closer than this are one key held down
const DWORD kDelayStepMs = 250;   // the keyboard's repeat delay is (its setting + 1) steps
const int kKeyCount = 256;
const int kFirstKey = VK_BACK;    // the mouse buttons and VK_CANCEL come before it
const int kModifiers[] = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL,
                          VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN};

struct HeldKeys {
  bool down[kKeyCount];  // the keys down at the tracklist mark taken last
  bool taken;            // such a mark was taken
  DWORD takenMs;
  DWORD lastMs;          // the last press, taken or not
};

HeldKeys gHeld;  // zero: no mark taken yet

bool isModifier(int key) {
  for (int modifier : kModifiers)
    if (key == modifier) return true;
  return false;
}

// Whether a key that counts is down now (the high bit of the answer).
bool keyDown(int key) { return key >= kFirstKey && !isModifier(key) && GetAsyncKeyState(key) < 0; }

DWORD repeatDelayMs() {
  int setting = 1;  // the system's default when it cannot be read
  SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &setting, 0);
  return (DWORD)(setting + 1) * kDelayStepMs;
}

}  // namespace

bool hotKeyRepeats() {
  DWORD now = GetTickCount();
  DWORD sinceLast = now - gHeld.lastMs;  // the tick count wraps: differences stay right
  gHeld.lastMs = now;
  bool held = false;
  for (int key = kFirstKey; gHeld.taken && key < kKeyCount && !held; ++key) held = gHeld.down[key] && keyDown(key);
  return held && (sinceLast < kRepeatGapMs || now - gHeld.takenMs < repeatDelayMs() + kRepeatGapMs);
}

void takeHotKeyPress() {
  gHeld.taken = true;
  gHeld.takenMs = gHeld.lastMs;
  for (int key = 0; key < kKeyCount; ++key) gHeld.down[key] = keyDown(key);
}
