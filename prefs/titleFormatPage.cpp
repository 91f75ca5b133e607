// The Title format page: both templates, edited live, with their Default buttons.
#include "../plugin/settings.h"
#include "../plugin/text.h"
#include "../res/resource.h"
#include "pageProtocol.h"
#include "pages.h"

namespace {

const int kTemplateFieldBytes = (int)kTemplateChars + 1;

void onFormatInit(HWND page) {
  SetDlgItemTextA(page, IDC_FORMAT_HEADER, settings().headerTemplate);
  SetDlgItemTextA(page, IDC_FORMAT_TRACK, settings().trackTemplate);
  pageInit(kTitleFormatPage, page);
}

void readField(HWND page, int field, char* block) {
  if (block) GetDlgItemTextA(page, field, block, kTemplateFieldBytes);
}

void restoreDefault(HWND page, int field, char* block, const char* defaultText) {
  SetDlgItemTextA(page, field, defaultText);
  if (block) copyText(block, kTemplateBytes, defaultText);
}

void onFormatCommand(HWND page, WORD id, WORD code) {
  switch (id) {
    case IDC_FORMAT_HEADER:
      if (code == EN_CHANGE) readField(page, id, settings().headerTemplate);
      break;
    case IDC_FORMAT_TRACK:
      if (code == EN_CHANGE) readField(page, id, settings().trackTemplate);
      break;
    case IDC_FORMAT_HEADER_DEFAULT:
      restoreDefault(page, IDC_FORMAT_HEADER, settings().headerTemplate, kDefaultHeaderTemplate);
      break;
    case IDC_FORMAT_TRACK_DEFAULT:
      restoreDefault(page, IDC_FORMAT_TRACK, settings().trackTemplate, kDefaultTrackTemplate);
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK TitleFormatPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onFormatInit(page);
      break;
    case WM_COMMAND:
      onFormatCommand(page, LOWORD(wParam), HIWORD(wParam));
      break;
    case WM_NOTIFY:
      pageNotify(kTitleFormatPage, (const NMHDR*)lParam);
      break;
    case WM_DESTROY:
      pageDestroy(kTitleFormatPage);
      break;
    default:
      break;
  }
  return 0;
}
