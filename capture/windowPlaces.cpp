// Placing the plug-in's three windows and remembering where the user put them.
#include "windowPlaces.h"

#include "../base/windowLayout.h"
#include "../store/settings.h"

namespace {

// Where each window was put at start, to tell a window the user moved from one left alone.
RECT gPlaced[kLaidOutWindows];

// How much of a window's top must lie on a screen for it to count as reachable: its caption.
const int kReachableHeight = 24;
const int kReachableWidth = 48;

// Whether a piece of the window's caption (its middle) lies whole within a screen's work area.
bool onSomeScreen(const RECT& window) {
  RECT caption = {window.left, window.top, window.left + kReachableWidth, window.top + kReachableHeight};
  if (window.right - window.left > 2 * kReachableWidth) {
    caption.left = (window.left + window.right) / 2 - kReachableWidth / 2;
    caption.right = caption.left + kReachableWidth;
  }
  HMONITOR monitor = MonitorFromRect(&caption, MONITOR_DEFAULTTONULL);
  MONITORINFO info = {sizeof info, {}, {}, 0};
  RECT shared;
  return monitor && GetMonitorInfoW(monitor, &info) && IntersectRect(&shared, &info.rcWork, &caption) &&
         EqualRect(&shared, &caption);
}

// The work area of the screen the player's window is on (the primary one without it).
Box workArea(HWND player) {
  MONITORINFO info = {sizeof info, {}, {}, 0};
  HMONITOR monitor = player ? MonitorFromWindow(player, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (!GetMonitorInfoW(monitor, &info)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return Box{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

bool resizable(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME) != 0; }

}  // namespace

void placeCaptureWindows(HWND cue, HWND tracklist, HWND info, HWND player) {
  HWND windows[kLaidOutWindows] = {cue, tracklist, info};
  int widths[kLaidOutWindows];
  int heights[kLaidOutWindows];
  for (int i = 0; i < kLaidOutWindows; ++i) {
    RECT r = {0, 0, 0, 0};
    if (windows[i]) GetWindowRect(windows[i], &r);
    widths[i] = r.right - r.left;
    heights[i] = r.bottom - r.top;
  }
  Box laid[kLaidOutWindows];
  layOutSideBySide(workArea(player), widths, heights, laid);
  for (int i = 0; i < kLaidOutWindows; ++i) {
    if (!windows[i]) continue;
    RECT place = {laid[i].left, laid[i].top, laid[i].right, laid[i].bottom};
    const WindowPlace& left = settings().windows[i];
    if (left.known) {
      int width = resizable(windows[i]) ? left.width : widths[i];
      int height = resizable(windows[i]) ? left.height : heights[i];
      RECT remembered = {left.left, left.top, left.left + width, left.top + height};
      if (onSomeScreen(remembered)) place = remembered;
    }
    SetWindowPos(windows[i], nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(windows[i], &gPlaced[i]);
  }
}

void rememberWindowPlaces(HWND cue, HWND tracklist, HWND info) {
  HWND windows[kLaidOutWindows] = {cue, tracklist, info};
  for (int i = 0; i < kLaidOutWindows; ++i) {
    RECT now;
    if (!windows[i] || !GetWindowRect(windows[i], &now) || EqualRect(&now, &gPlaced[i])) continue;
    settings().windows[i] = WindowPlace{true, now.left, now.top, now.right - now.left, now.bottom - now.top};
  }
}
