// The Title format page: both templates, edited live, with their Default buttons.
#include "../base/settingsText.h"
#include "../base/text.h"
#include "../res/resource.h"
#include "../store/settings.h"
#include "pageProtocol.h"
#include "pages.h"

namespace {

// A field takes kTemplateChars characters as the template formats: each \r or \n escape in it
// (a line break read back from plugin.ini) counts as one, so the limit grows by one for each.
// What the field shows is always the whole template.
void limitField(HWND page, int field, const char* text) {
  size_t escapes = textLength(text, kTemplateBytes) - templateLength(text);
  SendDlgItemMessageA(page, field, EM_SETLIMITTEXT, kTemplateChars + escapes, 0);
}

void fillField(HWND page, int field, const char* text) {
  SetDlgItemTextA(page, field, text);
  limitField(page, field, text);
}

void onFormatInit(HWND page) {
  fillField(page, IDC_FORMAT_HEADER, settings().headerTemplate);
  fillField(page, IDC_FORMAT_TRACK, settings().trackTemplate);
  pageInit(kTitleFormatPage, page);
}

// The field's text becomes the template. Text that got past the limit (a paste over a
// selection holding escapes, a text set from outside) is cut in the field too, so that what
// the field shows is what is used.
void readField(HWND page, int field, char* block) {
  if (!block) return;
  GetDlgItemTextA(page, field, block, (int)kTemplateBytes);
  if (templateLength(block) > kTemplateChars) {
    cutTemplate(block, kTemplateChars);
    SetDlgItemTextA(page, field, block);
    SendDlgItemMessageA(page, field, EM_SETSEL, kTemplateBytes, kTemplateBytes);
  }
  limitField(page, field, block);
}

void restoreDefault(HWND page, int field, char* block, const char* defaultText) {
  fillField(page, field, defaultText);
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
