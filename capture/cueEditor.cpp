// Reading and changing the Cue window's editor.
#include "cueEditor.h"

namespace {

HWND gEditor = nullptr;

// More edits than this go in as one new text: each replacement in a large editor costs.
const size_t kEditsOneByOne = 32;

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

}  // namespace

void attachEditor(HWND editor) { gEditor = editor; }
HWND sheetEditor() { return gEditor; }

size_t editorCaret() {
  DWORD start = 0;
  DWORD end = 0;
  if (gEditor) SendMessageA(gEditor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  return end;
}

void showEditorLine(int line) {
  if (!gEditor) return;
  LRESULT start = SendMessageA(gEditor, EM_LINEINDEX, (WPARAM)(line > 0 ? line - 1 : 0), 0);
  if (start < 0) start = 0;
  SetFocus(gEditor);
  SendMessageA(gEditor, EM_SETSEL, (WPARAM)start, (LPARAM)start);
  SendMessageA(gEditor, EM_SCROLLCARET, 0, 0);
}

EditorText readEditorText(size_t spare) {
  EditorText copy = {nullptr, 0};
  HWND editor = gEditor;
  int length = editor ? GetWindowTextLengthA(editor) : 0;
  copy.text = (char*)GlobalAlloc(GPTR, (SIZE_T)length + 1 + spare);
  if (!copy.text) return copy;
  int got = length > 0 ? GetWindowTextA(editor, copy.text, length + 1) : 0;
  copy.length = got > 0 ? (size_t)got : 0;
  return copy;
}

void freeEditorText(EditorText* copy) {
  if (copy->text) GlobalFree(copy->text);
  copy->text = nullptr;
  copy->length = 0;
}

bool editorChangeIsOurs() { return gOurChange; }

void setEditorText(const char* text) {
  HWND editor = gEditor;
  if (!editor) return;
  gOurChange = true;
  SetWindowTextA(editor, text);
  gOurChange = false;
}

void appendToEditor(const char* text) {
  gOurChange = true;
  appendText(gEditor, text);
  gOurChange = false;
}

void applyToEditor(const char* text, size_t length, const TextEdit* edits, size_t count, bool undoable) {
  HWND editor = gEditor;
  if (!editor || count == 0) return;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(editor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  int firstLine = (int)SendMessageA(editor, EM_GETFIRSTVISIBLELINE, 0, 0);
  size_t firstChar = (size_t)SendMessageA(editor, EM_LINEINDEX, (WPARAM)firstLine, 0);
  {
    QuietEditor quiet(editor);
    if (count <= kEditsOneByOne) {
      // From the back, so that each edit's position is still that of the text before them.
      for (size_t i = count; i > 0; --i) {
        const TextEdit& e = edits[i - 1];
        SendMessageA(editor, EM_SETSEL, (WPARAM)e.at, (LPARAM)(e.at + e.removeLength));
        SendMessageA(editor, EM_REPLACESEL, undoable && count == 1, (LPARAM)editText(e));
      }
    } else {
      size_t newLength = editedLength(length, edits, count);
      char* changed = (char*)GlobalAlloc(GMEM_FIXED, newLength + 1);
      if (!changed) return;
      applyEdits(text, length, edits, count, changed, newLength + 1);
      SetWindowTextA(editor, changed);
      GlobalFree(changed);
    }
    SendMessageA(editor, EM_SETSEL, mapThroughEdits(start, edits, count), mapThroughEdits(end, edits, count));
    int newFirst = (int)SendMessageA(editor, EM_LINEFROMCHAR, mapThroughEdits(firstChar, edits, count), 0);
    int nowFirst = (int)SendMessageA(editor, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(editor, EM_LINESCROLL, 0, newFirst - nowFirst);
  }
}

void appendText(HWND edit, const char* text) {
  if (!edit) return;
  int length = GetWindowTextLengthA(edit);
  DWORD start = 0;
  DWORD end = 0;
  QuietEditor quiet(edit);
  SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  SendMessageA(edit, EM_SETSEL, (WPARAM)length, (LPARAM)length);
  SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)text);
  SendMessageA(edit, EM_SETSEL, (WPARAM)start, (LPARAM)end);
}
