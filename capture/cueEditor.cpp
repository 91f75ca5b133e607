// Reading and changing the Cue window's editor. The edit control holds UTF-16 and counts its
// positions in UTF-16 units; the sheet code works on UTF-8 bytes: every position crosses here.
#include "cueEditor.h"

#include "../base/platformText.h"
#include "../base/utf8Text.h"

namespace {

// More edits than this go in as one new text: each replacement in a large editor costs.
const size_t kEditsOneByOne = 32;

HWND gEditor = nullptr;
bool gOurChange = false;

// A visible editor scrolls on screen with every change; hidden for the moment it only
// computes, and is drawn once as it stands afterwards. Hiding takes the focus away, so an
// editor that had it gets it back.
struct QuietEditor {
  explicit QuietEditor(HWND edit)
      : edit_(edit), hidden_(IsWindowVisible(edit) != FALSE), focused_(GetFocus() == edit) {
    gOurChange = true;
    if (hidden_) ShowWindow(edit_, SW_HIDE);
  }
  ~QuietEditor() {
    if (hidden_) ShowWindow(edit_, SW_SHOWNA);
    if (focused_) SetFocus(edit_);
    gOurChange = false;
  }
  QuietEditor(const QuietEditor&) = delete;
  QuietEditor& operator=(const QuietEditor&) = delete;

 private:
  HWND edit_;
  bool hidden_;
  bool focused_;
};

// The editor's UTF-16 text in global memory (free it with GlobalFree); units gets its length.
wchar_t* readWide(HWND edit, size_t* units) {
  *units = 0;
  int length = edit ? GetWindowTextLengthW(edit) : 0;
  wchar_t* wide = (wchar_t*)GlobalAlloc(GPTR, ((SIZE_T)length + 1) * sizeof(wchar_t));
  if (!wide) return nullptr;
  int got = length > 0 ? GetWindowTextW(edit, wide, length + 1) : 0;
  *units = got > 0 ? (size_t)got : 0;
  return wide;
}

void select(HWND edit, size_t from, size_t to) { SendMessageW(edit, EM_SETSEL, (WPARAM)from, (LPARAM)to); }

// Replaces what is selected by UTF-8 text of length bytes.
void replaceSelection(HWND edit, const char* text, size_t length, bool undoable) {
  wchar_t* wide = newWideText(text, length);
  if (wide) SendMessageW(edit, EM_REPLACESEL, undoable, (LPARAM)wide);
  if (wide) GlobalFree(wide);
}

}  // namespace

void attachEditor(HWND editor) { gEditor = editor; }
HWND sheetEditor() { return gEditor; }

void showEditorLine(int line) {
  if (!gEditor) return;
  LRESULT start = SendMessageW(gEditor, EM_LINEINDEX, (WPARAM)(line > 0 ? line - 1 : 0), 0);
  if (start < 0) start = 0;
  SetFocus(gEditor);
  select(gEditor, (size_t)start, (size_t)start);
  SendMessageW(gEditor, EM_SCROLLCARET, 0, 0);
}

namespace {

// The text of window (an edit control's for the caret: else 0) as UTF-8.
EditorText readText(HWND window, bool withCaret) {
  EditorText copy = {nullptr, 0, 0};
  size_t units = 0;
  wchar_t* wide = readWide(window, &units);
  if (!wide) return copy;
  DWORD start = 0;
  DWORD end = 0;
  if (withCaret) SendMessageW(window, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  size_t bytes = utf8BytesOf(wide, units);
  copy.text = (char*)GlobalAlloc(GPTR, bytes + 1);
  if (copy.text) {
    copy.length = utf16ToUtf8(wide, units, copy.text, bytes + 1);
    copy.caret = utf8BytesOf(wide, end < units ? end : units);
  }
  GlobalFree(wide);
  return copy;
}

}  // namespace

EditorText readEditorText() { return readText(gEditor, true); }
EditorText readWindowText(HWND window) { return readText(window, false); }

void freeEditorText(EditorText* copy) {
  if (copy->text) GlobalFree(copy->text);
  copy->text = nullptr;
  copy->length = 0;
}

bool editorChangeIsOurs() { return gOurChange; }

void setEditorText(const char* text) {
  if (!gEditor) return;
  wchar_t* wide = newWideText(text);
  if (!wide) return;
  gOurChange = true;
  SetWindowTextW(gEditor, wide);
  gOurChange = false;
  GlobalFree(wide);
}

void restoreEditorText(const char* text) {
  if (!gEditor) return;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(gEditor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  int firstLine = (int)SendMessageW(gEditor, EM_GETFIRSTVISIBLELINE, 0, 0);
  {
    QuietEditor quiet(gEditor);
    wchar_t* wide = newWideText(text);
    if (wide) SetWindowTextW(gEditor, wide);
    if (wide) GlobalFree(wide);
    select(gEditor, start, end);  // the control holds them within its text
    SendMessageW(gEditor, EM_LINESCROLL, 0, firstLine);
  }
}

void appendToEditor(const char* text) {
  gOurChange = true;
  appendText(gEditor, text);
  gOurChange = false;
}

void applyToEditor(const char* text, size_t length, const TextEdit* edits, size_t count, bool undoable) {
  HWND editor = gEditor;
  if (!editor || count == 0) return;
  // The text after the edits, for the positions that follow them.
  size_t newLength = editedLength(length, edits, count);
  char* changed = (char*)GlobalAlloc(GMEM_FIXED, newLength + 1);
  if (!changed) return;
  applyEdits(text, length, edits, count, changed, newLength + 1);

  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(editor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  int firstLine = (int)SendMessageW(editor, EM_GETFIRSTVISIBLELINE, 0, 0);
  size_t firstChar = (size_t)SendMessageW(editor, EM_LINEINDEX, (WPARAM)firstLine, 0);
  // Units of the text before, bytes through the edits, units of the text after.
  auto follow = [&](size_t unit) {
    size_t byte = mapThroughEdits(utf8OffsetOfUnit(text, length, unit), edits, count);
    return unitIndexOfUtf8(changed, newLength, byte);
  };
  {
    QuietEditor quiet(editor);
    if (count <= kEditsOneByOne) {
      // From the back, so that each edit's position is still that of the text before them.
      for (size_t i = count; i > 0; --i) {
        const TextEdit& e = edits[i - 1];
        select(editor, unitIndexOfUtf8(text, length, e.at), unitIndexOfUtf8(text, length, e.at + e.removeLength));
        replaceSelection(editor, editText(e), editLength(e), undoable && count == 1);
      }
    } else {
      wchar_t* wide = newWideText(changed, newLength);
      if (wide) SetWindowTextW(editor, wide);
      if (wide) GlobalFree(wide);
    }
    select(editor, follow(start), follow(end));
    int newFirst = (int)SendMessageW(editor, EM_LINEFROMCHAR, follow(firstChar), 0);
    int nowFirst = (int)SendMessageW(editor, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(editor, EM_LINESCROLL, 0, newFirst - nowFirst);
  }
  GlobalFree(changed);
}

void appendText(HWND edit, const char* text) {
  if (!edit) return;
  int length = GetWindowTextLengthW(edit);
  DWORD start = 0;
  DWORD end = 0;
  QuietEditor quiet(edit);
  SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  select(edit, (size_t)length, (size_t)length);
  replaceSelection(edit, text, (size_t)-1, false);
  select(edit, start, end);
}
