// The "LUMO" preferences page: a tab control with the General, Title format and About pages.
#include "prefsPage.h"

#include <commctrl.h>

#include "../store/pluginFolder.h"
#include "../store/settings.h"
#include "../res/resource.h"
#include "../controls/heapObject.h"
#include "pages.h"
#include "../controls/tabPageManager.h"

namespace {

TabPageManager* gTabs = nullptr;
HWND gPage = nullptr;

// The page fills the window the player placed just before it.
void fitToPreviousSibling(HWND page) {
  RECT area = {0, 0, 0, 0};
  HWND previous = GetWindow(page, GW_HWNDPREV);
  if (previous) GetClientRect(previous, &area);
  MoveWindow(page, 0, 0, area.right - area.left, area.bottom - area.top, TRUE);
  MoveWindow(GetDlgItem(page, IDC_PREFS_TABS), 0, 0, area.right - area.left,
             area.bottom - area.top, TRUE);
}

void onPrefsInit(HWND page) {
  gPage = page;
  fitToPreviousSibling(page);
  deleteOnHeap(gTabs);
  gTabs = newOnHeap<TabPageManager>(GetDlgItem(page, IDC_PREFS_TABS), pluginModule());
  if (!gTabs) return;
  gTabs->addPage(nullptr, MAKEINTRESOURCEA(IDD_GENERAL), GeneralPageProc, nullptr);
  gTabs->addPage(nullptr, MAKEINTRESOURCEA(IDD_TITLEFORMAT), TitleFormatPageProc, nullptr);
  gTabs->addPage(nullptr, MAKEINTRESOURCEA(IDD_ABOUT), AboutPageProc, nullptr);
  gTabs->selectPage(settings().currentPageIndex);
}

INT_PTR onPrefsNotify(HWND page, WPARAM wParam, NMHDR* header) {
  if (!gTabs) return 0;
  BYTE answer = gTabs->onNotify(wParam, header);
  if (!answer) return 0;
  settings().currentPageIndex = (int)SendMessageA(gTabs->tabControl(), TCM_GETCURSEL, 0, 0);
  SetWindowLongPtrA(page, DWLP_MSGRESULT, answer);
  return 1;
}

}  // namespace

INT_PTR CALLBACK PrefsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onPrefsInit(page);
      return 0;
    case WM_NOTIFY:
      return onPrefsNotify(page, wParam, (NMHDR*)lParam);
    case WM_DESTROY:
      deleteOnHeap(gTabs);
      gTabs = nullptr;
      gPage = nullptr;
      return 0;
    default:
      return 0;
  }
}

void closePrefsPage() {
  if (gPage && IsWindow(gPage)) DestroyWindow(gPage);
  gPage = nullptr;
}
