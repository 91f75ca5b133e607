// The waveform strip control: its state, its memory bitmap, the mouse and the owner's functions.
#include "waveStrip.h"

#include "../base/platformText.h"
#include "../audio/stripScale.h"
#include "heapObject.h"
#include "memoryBitmap.h"
#include "waveStripDraw.h"

const wchar_t WAVESTRIP_CLASS[] = L"QevWaveStrip";

namespace {

const long long kDefaultHalf = 4 * kFramesPerSecond;
const int kStateSlot = 0;  // byte offset of our pointer in the window's extra bytes
const UINT kStatusFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;

ATOM gStripClass = 0;

struct StripState {
  long long centre;
  long long half;
  const signed char* minMax;  // the owner's array, never freed here
  size_t stride;
  long long available;
  long long total;
  FrameList marks;
  int currentMark;
  FrameList silenceEnds;
  FrameList changePoints;
  long long playPosition;
  wchar_t status[WAVESTRIP_STATUS_CHARS];
  HFONT font;  // set by WM_SETFONT, owned by whoever set it
  MemoryBitmap image;  // of the window's size
  bool stale;          // the image does not show the state yet
  bool dragging;
  long long dragFrame;
  int wheelRest;  // wheel delta short of a whole notch
};

// The strip's state, or null when window is none of ours (or is being made or destroyed).
StripState* stateOf(HWND window) {
  if (!window || !gStripClass || GetClassWord(window, GCW_ATOM) != gStripClass) return nullptr;
  return (StripState*)GetWindowLongPtrW(window, kStateSlot);
}

StripScale scaleOf(HWND window, const StripState* state) {
  RECT client;
  GetClientRect(window, &client);
  return stripAround(state->centre, state->half, client.right, state->total);
}

void changed(HWND window, StripState* state) {
  state->stale = true;
  InvalidateRect(window, nullptr, FALSE);
}

void showRangeText(HWND window, const StripState* state) {
  char text[kStripRangeTextBytes];
  wchar_t wide[kStripRangeTextBytes];
  stripRangeText(scaleOf(window, state), text, sizeof text);
  if (toWide(text, wide, kStripRangeTextBytes)) SetWindowTextW(window, wide);
}

void freeList(FrameList* list) {
  if (list->frames) HeapFree(GetProcessHeap(), 0, list->frames);
  list->frames = nullptr;
  list->count = 0;
}

bool copyList(FrameList* list, const long long* frames, int count) {
  if (!frames || count <= 0) {
    freeList(list);
    return true;
  }
  if ((size_t)count > (size_t)-1 / sizeof(long long)) return false;
  long long* copy = (long long*)HeapAlloc(GetProcessHeap(), 0, (size_t)count * sizeof(long long));
  if (!copy) return false;
  for (int i = 0; i < count; ++i) copy[i] = frames[i];
  freeList(list);
  list->frames = copy;
  list->count = count;
  return true;
}

void drawStatus(HWND window, StripState* state, RECT* client) {
  HFONT font = state->font;
  if (!font && GetParent(window)) font = (HFONT)SendMessageW(GetParent(window), WM_GETFONT, 0, 0);
  if (!font) font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  HFONT previousFont = (HFONT)SelectObject(state->image.dc, font);
  int previousMode = SetBkMode(state->image.dc, TRANSPARENT);
  COLORREF previousColour = SetTextColor(state->image.dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(state->image.dc, state->status, -1, client, kStatusFormat);
  SetTextColor(state->image.dc, previousColour);
  SetBkMode(state->image.dc, previousMode);
  SelectObject(state->image.dc, previousFont);
}

void compose(HWND window, StripState* state, RECT* client) {
  WaveStripPicture picture = {scaleOf(window, state), state->minMax, state->stride, state->available,
                              state->status[0] == 0, state->marks, state->currentMark, state->silenceEnds,
                              state->changePoints, state->playPosition};
  GdiFlush();  // the pixels are written directly: GDI must have finished with them
  drawWaveStrip(picture, state->image.pixels, state->image.height);
  if (state->status[0]) drawStatus(window, state, client);
  state->stale = false;
}

LRESULT onPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  StripState* state = stateOf(window);
  RECT client;
  GetClientRect(window, &client);
  if (state && client.right > 0 && client.bottom > 0) {
    bool madeAnew = false;
    if (fitMemoryBitmap(&state->image, dc, client.right, client.bottom, &madeAnew)) {
      if (state->stale || madeAnew) compose(window, state, &client);
      const RECT& r = paint.rcPaint;
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, state->image.dc, r.left, r.top, SRCCOPY);
    } else {
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  EndPaint(window, &paint);
  return 0;
}

void notifyParent(HWND window, int code, long long frame, long long half) {
  HWND parent = GetParent(window);
  if (!parent) return;
  WaveStripNotify notify;
  ZeroMemory(&notify, sizeof notify);
  notify.header.hwndFrom = window;
  notify.header.idFrom = (UINT_PTR)GetDlgCtrlID(window);
  notify.header.code = (UINT)code;
  notify.frame = frame;
  notify.halfFrames = half;
  SendMessageW(parent, WM_NOTIFY, notify.header.idFrom, (LPARAM)&notify);
}

long long frameAtMouse(HWND window, const StripState* state, LPARAM lParam) {
  // Client coordinates are signed: a captured mouse left or above the strip is negative.
  int x = (int)(short)LOWORD(lParam);
  return stripFrameAt(scaleOf(window, state), x);
}

LRESULT onMouse(HWND window, UINT message, LPARAM lParam) {
  StripState* state = stateOf(window);
  if (!state) return 0;
  if (message == WM_LBUTTONDOWN) {
    state->dragging = true;
    state->dragFrame = frameAtMouse(window, state, lParam);
    SetCapture(window);
    notifyParent(window, WSN_PRESSED, state->dragFrame, state->half);
    return 0;
  }
  if (!state->dragging) return 0;
  long long frame = frameAtMouse(window, state, lParam);
  if (message == WM_LBUTTONUP) {
    state->dragging = false;  // first: releasing the capture sends WM_CAPTURECHANGED
    state->dragFrame = frame;
    ReleaseCapture();
    notifyParent(window, WSN_RELEASED, frame, state->half);
  } else if (frame != state->dragFrame) {
    state->dragFrame = frame;
    notifyParent(window, WSN_DRAGGED, frame, state->half);
  }
  return 0;
}

LRESULT onCaptureChanged(HWND window) {
  StripState* state = stateOf(window);
  if (state && state->dragging) {
    state->dragging = false;
    notifyParent(window, WSN_RELEASED, state->dragFrame, state->half);
  }
  return 0;
}

LRESULT onWheel(HWND window, WPARAM wParam) {
  StripState* state = stateOf(window);
  if (!state) return 0;
  state->wheelRest += (short)HIWORD(wParam);
  int notches = state->wheelRest / WHEEL_DELTA;
  state->wheelRest -= notches * WHEEL_DELTA;
  long long half = stripZoomed(state->half, notches);
  if (notches == 0 || half == state->half) return 0;
  state->half = half;
  showRangeText(window, state);
  changed(window, state);
  notifyParent(window, WSN_ZOOMED, state->centre, half);
  return 0;
}

LRESULT onCreate(HWND window) {
  StripState* state = newOnHeap<StripState>();
  if (!state) return -1;
  state->half = kDefaultHalf;
  state->currentMark = -1;
  state->playPosition = -1;
  state->stale = true;
  SetWindowLongPtrW(window, kStateSlot, (LONG_PTR)state);
  showRangeText(window, state);
  return 0;
}

LRESULT onDestroy(HWND window) {
  StripState* state = stateOf(window);
  if (state) state->dragging = false;  // the capture goes with the window: no notice while dying
  return 0;
}

LRESULT onSize(HWND window) {
  StripState* state = stateOf(window);
  if (state) changed(window, state);
  return 0;
}

LRESULT onSetFont(HWND window, HFONT font) {
  StripState* state = stateOf(window);
  if (state) state->font = font;
  return 0;
}

LRESULT onGetFont(HWND window) {
  StripState* state = stateOf(window);
  return state ? (LRESULT)state->font : 0;
}

LRESULT onNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
  StripState* state = stateOf(window);
  if (state) {
    SetWindowLongPtrW(window, kStateSlot, 0);
    releaseMemoryBitmap(&state->image);
    freeList(&state->marks);
    freeList(&state->silenceEnds);
    freeList(&state->changePoints);
    deleteOnHeap(state);
  }
  return DefWindowProcW(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK WaveStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return onCreate(window);
    case WM_DESTROY:
      return onDestroy(window);
    case WM_NCDESTROY:
      return onNcDestroy(window, wParam, lParam);
    case WM_SIZE:
      return onSize(window);
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT:
      return onPaint(window);
    case WM_SETFONT:
      return onSetFont(window, (HFONT)wParam);
    case WM_GETFONT:
      return onGetFont(window);
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return onMouse(window, message, lParam);
    case WM_CAPTURECHANGED:
      return onCaptureChanged(window);
    case WM_MOUSEWHEEL:
      return onWheel(window, wParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

void registerWaveStripClass(HINSTANCE module) {
  WNDCLASSW wc;
  ZeroMemory(&wc, sizeof wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WaveStripProc;
  wc.cbWndExtra = (int)sizeof(LONG_PTR);
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
  wc.lpszClassName = WAVESTRIP_CLASS;
  gStripClass = RegisterClassW(&wc);
}

void unregisterWaveStripClass(HINSTANCE module) {
  UnregisterClassW(WAVESTRIP_CLASS, module);
  gStripClass = 0;
}

bool waveStripSetData(HWND strip, const signed char* minMax, size_t stride, long long framesAvailable,
                      long long totalFrames) {
  StripState* state = stateOf(strip);
  if (!state) return false;
  state->minMax = minMax;
  state->stride = stride;
  state->available = minMax && framesAvailable > 0 ? framesAvailable : 0;
  state->total = totalFrames > 0 ? totalFrames : 0;
  showRangeText(strip, state);
  changed(strip, state);
  return true;
}

bool waveStripSetRange(HWND strip, long long centre, long long halfFrames) {
  StripState* state = stateOf(strip);
  if (!state) return false;
  state->centre = centre;
  state->half = clampStripHalf(halfFrames);
  showRangeText(strip, state);
  changed(strip, state);
  return true;
}

bool waveStripGetRange(HWND strip, long long* centre, long long* halfFrames) {
  StripState* state = stateOf(strip);
  if (!state) return false;
  if (centre) *centre = state->centre;
  if (halfFrames) *halfFrames = state->half;
  return true;
}

bool waveStripSetMarks(HWND strip, const long long* marks, int count, int current) {
  StripState* state = stateOf(strip);
  if (!state || !copyList(&state->marks, marks, count)) return false;
  state->currentMark = current >= 0 && current < state->marks.count ? current : -1;
  changed(strip, state);
  return true;
}

bool waveStripSetSilenceEnds(HWND strip, const long long* frames, int count) {
  StripState* state = stateOf(strip);
  if (!state || !copyList(&state->silenceEnds, frames, count)) return false;
  changed(strip, state);
  return true;
}

bool waveStripSetChangePoints(HWND strip, const long long* frames, int count) {
  StripState* state = stateOf(strip);
  if (!state || !copyList(&state->changePoints, frames, count)) return false;
  changed(strip, state);
  return true;
}

bool waveStripSetPlayPosition(HWND strip, long long frame) {
  StripState* state = stateOf(strip);
  if (!state) return false;
  state->playPosition = frame < 0 ? -1 : frame;
  changed(strip, state);
  return true;
}

bool waveStripSetStatus(HWND strip, const char* text) {
  StripState* state = stateOf(strip);
  if (!state) return false;
  wchar_t* wide = nullptr;
  if (text && text[0] && !(wide = newWideText(text))) return false;
  state->status[0] = 0;
  if (wide) {
    lstrcpynW(state->status, wide, WAVESTRIP_STATUS_CHARS);
    GlobalFree(wide);
    int length = lstrlenW(state->status);
    // Cut between the halves of a pair: the lone first half goes too.
    if (length > 0 && state->status[length - 1] >= 0xD800 && state->status[length - 1] <= 0xDBFF)
      state->status[length - 1] = 0;
  }
  changed(strip, state);
  return true;
}
