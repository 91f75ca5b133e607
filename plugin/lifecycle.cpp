// Start-up and shutdown: the version gate, the settings, the capture machinery, the preferences
// page, and, once the player shows, the windows, the sheet left unsaved and the hot-key actions.
#include "lifecycle.h"

#include "../capture/captureController.h"
#include "../capture/cueWindow.h"
#include "../capture/entryMaker.h"
#include "../capture/infoWindow.h"
#include "../capture/tracklistWindow.h"
#include "../capture/windowPlaces.h"
#include "../controls/modalGuard.h"
#include "../controls/waveStrip.h"
#include "../controls/webLink.h"
#include "../decode/decodedFiles.h"
#include "../host/hostLink.h"
#include "../pages/pageProtocol.h"
#include "../pages/prefsPage.h"
#include "../res/resource.h"
#include "../store/pluginFolder.h"
#include "../store/settings.h"

namespace {

const char kDescription[] = "LumoMarker v1.0";
const char kDescriptionTooOld[] = "LumoMarker v1.0 requires Winamp 5.1+";
const char kTooOldCaption[] = "LUMO";
const char kTooOldText[] =
    "LumoMarker v1.0\r\nThis plug-in requires a version of Winamp greater than or equal to 5.1!";
const char kPageName[] = "LUMO";
const char kHotkeyName[] = "LUMO: ON";
const char kHotkeyId[] = "LUMOPluginDoActionOn";
const char kShowHotkeyName[] = "LUMO: Show cue sheet";
const char kShowHotkeyId[] = "LUMOPluginDoActionShow";
const int kHotkeyFlags = 4;

PluginDescriptor gDescriptor = {PLUGIN_DESCRIPTOR_VERSION, kDescription, pluginInit, pluginConfig,
                                pluginQuit, nullptr, nullptr};

PrefsPageRecord gPageRecord = {nullptr, IDD_PREFS, PrefsPageProc, kPageName, 0, 0, 0};

int gPluginVersion = 0;
bool gRunning = false;
bool gHotkeyTimerPending = false;
UINT_PTR gWindowsTimer = 0;  // a timer of the thread, not of the player's window: its ids are the player's
bool gWindowsMade = false;  // the windows stand and the recovery copy was taken
HWND gWindows[kLaidOutWindows];  // the Cue, Tracklist and Info windows, once made


// Keeps this module loaded for good: used when code of ours is still to run after the player
// unloads us (a box of ours was open at shutdown), or our window procedure must stay in the
// player's chain because another procedure was put in front of it.
void pinModule() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     (LPCSTR)&CaptureProc, &self);
}

// The windows and the sheet left unsaved: not needed before the player shows, and making them
// takes a while, so init leaves them to a timer; anything that needs them earlier makes them.
void makeWindows() {
  if (gWindowsMade || !gRunning) return;
  gWindowsMade = true;
  if (gWindowsTimer) KillTimer(nullptr, gWindowsTimer);
  gWindowsTimer = 0;
  HWND cue = createCueWindow(gDescriptor.module);
  HWND info = createInfoWindow(gDescriptor.module);
  HWND tracklist = createTracklistWindow(gDescriptor.module);
  gWindows[kLaidOutCue] = cue;
  gWindows[kLaidOutTracklist] = tracklist;
  gWindows[kLaidOutInfo] = info;
  placeCaptureWindows(cue, tracklist, info, hostWindow());
  attachCaptureWindows(cue, info, tracklist);
  restoreSheet();
}

void CALLBACK onWindowsTimer(HWND, UINT, UINT_PTR timerId, DWORD) {
  if (timerId == gWindowsTimer) makeWindows();
}

}  // namespace

PluginDescriptor* pluginDescriptor() { return &gDescriptor; }

int __cdecl pluginInit(void) {
  createFormatLock();
  hostLinkOpen(gDescriptor.hostWindow);
  setPluginModule(gDescriptor.module);
  gPluginVersion = hostVersion();
  if (gPluginVersion < HOST_VERSION_REQUIRED) {
    gDescriptor.description = kDescriptionTooOld;
    return 0;
  }
  if (!allocateTemplates()) return 0;
  createCaptureState();
  readSettings();
  registerWebLinkClass(gDescriptor.module);
  registerWaveStripClass(gDescriptor.module);

  gPageRecord.module = gDescriptor.module;
  hostRegisterPage(&gPageRecord);

  if (settings().enabled) installCapture();
  setWindowsMaker(makeWindows);

  gHotkeyTimerPending = hostStartTimer(HOTKEY_TIMER_ID, HOTKEY_TIMER_DELAY_MS, registerHotkey);
  // A timer's message comes once the player's queue is empty: after it has shown itself.
  gWindowsTimer = SetTimer(nullptr, 0, WINDOWS_TIMER_DELAY_MS, onWindowsTimer);
  gWindowsMade = false;
  gRunning = true;
  if (!gWindowsTimer) makeWindows();
  return 0;
}

void __cdecl pluginConfig(void) {
  if (gPluginVersion < HOST_VERSION_REQUIRED) {
    guardedMessageBox(hostWindow(), kTooOldText, kTooOldCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  makeWindows();
  hostShowPage(&gPageRecord);
}

void __cdecl pluginQuit(void) {
  bool boxWasOpen = closeModalForShutdown();
  if (gRunning) {
    removeCapture();
    if (gWindowsMade)
      rememberWindowPlaces(gWindows[kLaidOutCue], gWindows[kLaidOutTracklist], gWindows[kLaidOutInfo]);
    writeSettings();
    if (gHotkeyTimerPending) hostStopTimer(HOTKEY_TIMER_ID);
    gHotkeyTimerPending = false;
    if (gWindowsTimer) KillTimer(nullptr, gWindowsTimer);
    gWindowsTimer = 0;
    setWindowsMaker(nullptr);
    closePrefsPage();
    removeAnyRelayHook();
    // A player closed before its loop ran never made the windows nor took a copy: nothing to
    // keep, and the copy of an earlier run stays as it is.
    bool writerStopped = !gWindowsMade || closeSheet();
    // The decoding worker stops between two reads; a decoder that hangs keeps our code loaded.
    const DWORD kDecoderStopMs = 2000;
    bool decoderStopped = closeDecoding(kDecoderStopMs);
    if (gWindowsMade) {
      detachCaptureWindows();
      destroyTracklistWindow();
      destroyInfoWindow();
      destroyCueWindow();
    }
    gWindowsMade = false;
    unregisterWebLinkClass(gDescriptor.module);
    unregisterWaveStripClass(gDescriptor.module);
    releaseTemplates();
    // Our procedure still in the player's chain, or the copy's writer still running: our code
    // may yet run.
    if (captureChained() || !writerStopped || !decoderStopped) pinModule();
    gRunning = false;
  }
  if (boxWasOpen) pinModule();
  deleteFormatLock();
}

void CALLBACK registerHotkey(HWND, UINT, UINT_PTR timerId, DWORD) {
  if (timerId != HOTKEY_TIMER_ID) return;
  makeWindows();
  int code = hostNamedRequest(HOST_HOTKEY_ADD_NAME);
  if (code != 0) {
    HotkeyRegistration mark = {kHotkeyName,   kHotkeyFlags, CAPTURE_MSG, 0,
                               CAPTURE_MARK, kHotkeyId,    nullptr};
    hostAddHotkey(code, &mark);
    HotkeyRegistration show = {kShowHotkeyName, kHotkeyFlags,   CAPTURE_MSG, 0,
                               CAPTURE_SHOW,    kShowHotkeyId, nullptr};
    hostAddHotkey(code, &show);
  }
  hostStopTimer(HOTKEY_TIMER_ID);
  gHotkeyTimerPending = false;
  reportRestore();
}
