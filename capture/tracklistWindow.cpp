// The Tracklist window: its editor holds the tracklist; each change of it reaches the controller,
// and the controller tells it when a mark took a line or an undo put one back.
#include "tracklistWindow.h"

#include "../base/platformText.h"
#include "../base/text.h"
#include "../res/resource.h"
#include "captureController.h"
#include "cueEditor.h"

namespace {

const size_t kLabelBytes = 1200;
const size_t kRowBytes = 2 * kTrackFieldBytes + 4;  // "(performer)", a TAB, the title
const int kTitleColumn = 100;  // where the title column starts, in dialog units

struct TracklistWindowState {
  HWND window;
  bool ourChange;  // the editor's text is being set from the controller
};

TracklistWindowState gTracklistWindow = {nullptr, false};

HWND editorOf(HWND dialog) { return GetDlgItem(dialog, IDC_TRACKLIST_EDITOR); }

// Each track as a mark will read it, performer and title apart; a performer in parentheses is
// the one before, taken by a line that names none.
void showReadings(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_TRACKLIST_READING);
  TracklistReading* reading = (TracklistReading*)GlobalAlloc(GMEM_FIXED, sizeof(TracklistReading));
  char* row = (char*)GlobalAlloc(GMEM_FIXED, kRowBytes);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  size_t at = 0;
  while (reading && row && tracklistReading(&at, reading)) {
    copyText(row, kRowBytes, reading->inherited && reading->performer[0] ? "(" : "");
    appendTo(row, kRowBytes, reading->performer);
    appendTo(row, kRowBytes, reading->inherited && reading->performer[0] ? ")\t" : "\t");
    appendTo(row, kRowBytes, reading->line.title);
    wchar_t* wide = newWideText(row);
    if (wide) SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)wide);
    if (wide) GlobalFree(wide);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  if (reading) GlobalFree(reading);
  if (row) GlobalFree(row);
}

void showLabel(HWND dialog) {
  char label[kLabelBytes];
  tracklistLabel(label, sizeof label);
  wchar_t* wide = newWideText(label);
  if (wide) SetDlgItemTextW(dialog, IDC_TRACKLIST_NEXT, wide);
  if (wide) GlobalFree(wide);
  showReadings(dialog);
}

// The controller's text into the editor; the caret keeps its place counted from the end, where
// the lines still to come stand.
void showText(HWND dialog) {
  HWND editor = editorOf(dialog);
  DWORD start = 0, end = 0;
  SendMessageW(editor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  int before = GetWindowTextLengthW(editor);
  wchar_t* wide = newWideText(tracklistForWindow());
  if (!wide) return;
  gTracklistWindow.ourChange = true;
  SetWindowTextW(editor, wide);
  gTracklistWindow.ourChange = false;
  GlobalFree(wide);
  int after = GetWindowTextLengthW(editor);
  int fromEnd = before - (int)end;
  int caret = after - fromEnd < 0 ? 0 : after - fromEnd;
  SendMessageW(editor, EM_SETSEL, (WPARAM)caret, (LPARAM)caret);
  showLabel(dialog);
}

// A change the user made: the controller takes the text, the label follows.
void onEdited(HWND dialog) {
  if (gTracklistWindow.ourChange) return;
  EditorText text = readWindowText(editorOf(dialog));
  if (!text.text) return;
  requestTracklistEdited(text.text, text.length);
  showLabel(dialog);
  freeEditorText(&text);
}

}  // namespace

HWND createTracklistWindow(HINSTANCE module) {
  gTracklistWindow.window = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_TRACKLIST), nullptr, TracklistDlgProc, 0);
  return gTracklistWindow.window;
}

void destroyTracklistWindow() {
  if (gTracklistWindow.window) DestroyWindow(gTracklistWindow.window);
  gTracklistWindow = TracklistWindowState{nullptr, false};
}

INT_PTR CALLBACK TracklistDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      gTracklistWindow.window = dialog;
      SendMessageW(editorOf(dialog), EM_SETLIMITTEXT, 0, 0);
      SendDlgItemMessageW(dialog, IDC_TRACKLIST_READING, LB_SETTABSTOPS, 1, (LPARAM)&kTitleColumn);
      return TRUE;
    case WM_CLOSE:
      ShowWindow(dialog, SW_HIDE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_TRACKLIST_EDITOR && HIWORD(wParam) == EN_CHANGE) onEdited(dialog);
      if (LOWORD(wParam) == IDCANCEL) ShowWindow(dialog, SW_HIDE);  // Escape
      return TRUE;
    case CAPTURE_TRACKLIST_CHANGED:
      showText(dialog);
      return TRUE;
    case CAPTURE_SHOW_TRACKLIST:
      showLabel(dialog);
      ShowWindow(dialog, SW_SHOW);
      SetForegroundWindow(dialog);
      SetFocus(editorOf(dialog));
      return TRUE;
    default:
      return FALSE;
  }
}
