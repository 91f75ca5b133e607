// The web-link control: owner-drawn over a copy of the parent's background.
#include "webLink.h"

#include "modalGuard.h"
#include "theme.h"

const char WEBLINK_CLASS[] = "QevWebLink";

namespace {

const size_t kLinkTextBytes = 512;
const COLORREF kLinkBlue = RGB(0, 0, 255);
const char kStateError[] = "Error creating WebLink control!";

struct WebLinkState {
  RECT textRect;          // where the text was last drawn; empty before the first paint
  HBITMAP background;     // the parent's pixels under the window (unthemed)
  HBITMAP previousBitmap;
  HDC memoryDc;
  LONG backgroundCaptured;
  LONG themed;
};

WNDPROC gBaseButtonProc = nullptr;
int gStateSlot = 0;  // byte offset of our pointer in the window's extra bytes

WebLinkState* stateOf(HWND window) { return (WebLinkState*)GetWindowLongPtrA(window, gStateSlot); }

LRESULT callBase(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gBaseButtonProc) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(gBaseButtonProc, window, message, wParam, lParam);
}

LRESULT onCreate(HWND window, WPARAM wParam, LPARAM lParam) {
  LRESULT result = callBase(window, WM_CREATE, wParam, lParam);
  SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | BS_OWNERDRAW);
  WebLinkState* state = (WebLinkState*)LocalAlloc(LPTR, sizeof(WebLinkState));
  if (!state) {
    // Without its state the control stays inert: every handler checks for it.
    guardedMessageBox(window, kStateError, nullptr, MB_OK);
    SetWindowLongPtrA(window, gStateSlot, 0);
    return result;
  }
  SetWindowLongPtrA(window, gStateSlot, (LONG_PTR)state);
  RECT client;
  GetClientRect(window, &client);
  state->themed = isThemeDialogTextureEnabled(GetParent(window)) ? 1 : 0;
  if (!state->themed) {
    HDC dc = GetDC(window);
    state->memoryDc = CreateCompatibleDC(dc);
    state->background = CreateCompatibleBitmap(dc, client.right - client.left, client.bottom - client.top);
    state->previousBitmap = (HBITMAP)SelectObject(state->memoryDc, state->background);
    ReleaseDC(window, dc);
  }
  return result;
}

LRESULT onEraseBackground(HWND window, HDC dc) {
  WebLinkState* state = stateOf(window);
  if (state && !state->themed && !state->backgroundCaptured) {
    RECT client;
    GetClientRect(window, &client);
    BitBlt(state->memoryDc, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    state->backgroundCaptured = 1;
  }
  return 1;
}

// Centres the measured text rectangle in the client rectangle.
RECT centred(const RECT& measured, const RECT& client) {
  RECT r;
  r.left = (measured.left + client.right - measured.right - client.left) / 2;
  r.right = measured.right + r.left;
  r.top = (measured.top + client.bottom - measured.bottom - client.top) / 2;
  r.bottom = measured.bottom + r.top;
  return r;
}

LRESULT onPaint(HWND window) {
  WebLinkState* state = stateOf(window);
  char text[kLinkTextBytes];
  GetWindowTextA(window, text, (int)sizeof text);
  RECT client;
  GetClientRect(window, &client);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (!state) {
    EndPaint(window, &paint);
    return 0;
  }

  if (state->themed)
    drawParentBackground(window, dc, &client);
  else
    BitBlt(dc, 0, 0, client.right, client.bottom, state->memoryDc, 0, 0, SRCCOPY);
  SetTextColor(dc, kLinkBlue);

  LOGFONTA description;
  ZeroMemory(&description, sizeof description);
  HFONT parentFont = (HFONT)SendMessageA(GetParent(window), WM_GETFONT, 0, 0);
  if (!parentFont || !GetObjectA(parentFont, sizeof description, &description))
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
  description.lfUnderline = TRUE;
  HFONT font = CreateFontIndirectA(&description);
  HFONT previousFont = (HFONT)SelectObject(dc, font);

  RECT measured = client;
  DrawTextA(dc, text, -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  state->textRect = centred(measured, client);

  int previousMode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (GetFocus() == window) DrawFocusRect(dc, &state->textRect);

  SelectObject(dc, previousFont);
  SetBkMode(dc, previousMode);
  DeleteObject(font);
  EndPaint(window, &paint);
  return 0;
}

LRESULT onSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  if ((HWND)wParam == window) {
    HCURSOR cursor = LoadCursorA(nullptr, LOWORD(lParam) == HTCLIENT ? (LPCSTR)IDC_HAND : (LPCSTR)IDC_ARROW);
    if (cursor) {
      SetCursor(cursor);
      return 1;
    }
  }
  InvalidateRect(window, nullptr, TRUE);
  return 1;
}

LRESULT onHitTest(HWND window, LPARAM lParam) {
  WebLinkState* state = stateOf(window);
  if (!state) return HTNOWHERE;
  // Screen coordinates are signed: monitors left of or above the primary one are negative.
  POINT at = {(LONG)(short)LOWORD(lParam), (LONG)(short)HIWORD(lParam)};
  ScreenToClient(window, &at);
  return PtInRect(&state->textRect, at) ? HTCLIENT : HTNOWHERE;
}

LRESULT onDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
  WebLinkState* state = stateOf(window);
  if (state) {
    if (!state->themed) {
      state->backgroundCaptured = 0;
      SelectObject(state->memoryDc, state->previousBitmap);
      DeleteObject(state->background);
      DeleteDC(state->memoryDc);
    }
    SetWindowLongPtrA(window, gStateSlot, 0);
    LocalFree(state);
  }
  return callBase(window, WM_DESTROY, wParam, lParam);
}

}  // namespace

void registerWebLinkClass(HINSTANCE module) {
  WNDCLASSA wc;
  ZeroMemory(&wc, sizeof wc);
  if (!GetClassInfoA(nullptr, "BUTTON", &wc)) return;
  gBaseButtonProc = wc.lpfnWndProc;
  gStateSlot = wc.cbWndExtra;
  wc.cbWndExtra += (int)sizeof(LONG_PTR);
  wc.lpszClassName = WEBLINK_CLASS;
  wc.lpfnWndProc = WebLinkProc;
  wc.hInstance = module;
  RegisterClassA(&wc);
}

void unregisterWebLinkClass(HINSTANCE module) { UnregisterClassA(WEBLINK_CLASS, module); }

LRESULT CALLBACK WebLinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return onCreate(window, wParam, lParam);
    case WM_ERASEBKGND:
      return onEraseBackground(window, (HDC)wParam);
    case WM_PAINT:
      return onPaint(window);
    case WM_SETCURSOR:
      return onSetCursor(window, wParam, lParam);
    case WM_SETFOCUS:
      InvalidateRect(window, nullptr, TRUE);
      return 1;
    case WM_NCHITTEST:
      return onHitTest(window, lParam);
    case WM_DESTROY:
      return onDestroy(window, wParam, lParam);
    default:
      return callBase(window, message, wParam, lParam);
  }
}
