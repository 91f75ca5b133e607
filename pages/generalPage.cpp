// The General page: the Enable box switches capture on and off at once.
#include "../capture/captureController.h"
#include "../store/settings.h"
#include "../res/resource.h"
#include "pageProtocol.h"
#include "pages.h"

namespace {

void onGeneralInit(HWND page) {
  CheckDlgButton(page, IDC_GENERAL_ENABLE, settings().enabled ? BST_CHECKED : BST_UNCHECKED);
  pageInit(kGeneralPage, page);
}

void onEnableClicked(HWND page) {
  if (IsDlgButtonChecked(page, IDC_GENERAL_ENABLE) == BST_CHECKED) {
    settings().enabled = 1;
    installCapture();
  } else {
    removeCapture();
    settings().enabled = 0;
  }
}

}  // namespace

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onGeneralInit(page);
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_GENERAL_ENABLE) onEnableClicked(page);
      break;
    case WM_NOTIFY:
      pageNotify(kGeneralPage, (const NMHDR*)lParam);
      break;
    case WM_DESTROY:
      pageDestroy(kGeneralPage);
      break;
    default:
      break;
  }
  return 0;
}
