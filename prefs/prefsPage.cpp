// The "LUMO" preferences page.
#include "prefsPage.h"

INT_PTR CALLBACK PrefsPageProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}
