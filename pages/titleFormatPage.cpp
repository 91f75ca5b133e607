// The Title format page: both templates, edited live, with their Default buttons.
#include "../base/platformText.h"
#include "../base/settingsText.h"
#include "../base/text.h"
#include "../base/utf8Text.h"
#include "../capture/entryMaker.h"
#include "../res/resource.h"
#include "../store/settings.h"
#include "pageProtocol.h"
#include "pages.h"

namespace {

// A field takes kTemplateChars characters as the template formats: each \r or \n escape in it
// (a line break read back from plugin.ini) counts as one, so the limit grows by one for each.
// What the field shows is always the whole template.
void limitField(HWND page, int field, const char* text) {
  // The field counts UTF-16 units; each \r or \n escape counts one more there than in the template.
  size_t escapes = utf16UnitsOf(text, textLength(text, kTemplateBytes)) - templateLength(text);
  SendDlgItemMessageW(page, field, EM_SETLIMITTEXT, kTemplateChars + escapes, 0);
}

void setField(HWND page, int field, const char* text) {
  wchar_t* wide = newWideText(text);
  if (wide) SetDlgItemTextW(page, field, wide);
  if (wide) GlobalFree(wide);
}

void fillField(HWND page, int field, const char* text) {
  setField(page, field, text);
  limitField(page, field, text);
}

const char kHeaderUnread[] =
    "Cue header: the player cannot read it. Put literal ( ) [ ] $ and ' inside '\xE2\x80\xA6' ('' is one ').";
const char kTrackUnread[] =
    "Track formatting: the player cannot read it. Put literal ( ) [ ] $ and ' inside '\xE2\x80\xA6' ('' is one ').";

// Shows what the templates give now, and which one the player could not read.
void showPreview(HWND page) {
  char* text = (char*)GlobalAlloc(GMEM_FIXED, 2 * kTextBytes);
  if (!text) return;
  PreviewProblem problem = previewEntry(text, 2 * kTextBytes);
  setField(page, IDC_FORMAT_PREVIEW, text);
  setField(page, IDC_FORMAT_PROBLEM, problem == kPreviewHeaderUnread  ? kHeaderUnread
                                     : problem == kPreviewTrackUnread ? kTrackUnread
                                                                      : "");
  GlobalFree(text);
}

void onFormatInit(HWND page) {
  fillField(page, IDC_FORMAT_HEADER, settings().headerTemplate);
  fillField(page, IDC_FORMAT_TRACK, settings().trackTemplate);
  showPreview(page);
  pageInit(kTitleFormatPage, page);
}

// The field's text becomes the template. Text that got past the limit (a paste over a
// selection holding escapes, a text set from outside) is cut in the field too, so that what
// the field shows is what is used.
void readField(HWND page, int field, char* block) {
  if (!block) return;
  // The field may hold more than its limit (text set from outside): read it whole, then cut.
  const size_t kFieldChars = 2 * kTemplateBytes;
  wchar_t* wide = (wchar_t*)GlobalAlloc(GPTR, kFieldChars * sizeof(wchar_t));
  char* text = (char*)GlobalAlloc(GPTR, kFieldChars * kUtf8BytesPerUnit);
  if (wide && text) {
    GetDlgItemTextW(page, field, wide, (int)kFieldChars);
    fromWide(wide, text, kFieldChars * kUtf8BytesPerUnit);
    bool cut = templateLength(text) > kTemplateChars;
    if (cut) cutTemplate(text, kTemplateChars);
    copyText(block, kTemplateBytes, text);
    if (cut) {
      setField(page, field, block);
      SendDlgItemMessageW(page, field, EM_SETSEL, kFieldChars, kFieldChars);
    }
    limitField(page, field, block);
  }
  if (wide) GlobalFree(wide);
  if (text) GlobalFree(text);
}

void restoreDefault(HWND page, int field, char* block, const char* defaultText) {
  fillField(page, field, defaultText);
  if (block) copyText(block, kTemplateBytes, defaultText);
}

void onFormatCommand(HWND page, WORD id, WORD code) {
  switch (id) {
    case IDC_FORMAT_HEADER:
      if (code != EN_CHANGE) return;
      readField(page, id, settings().headerTemplate);
      break;
    case IDC_FORMAT_TRACK:
      if (code != EN_CHANGE) return;
      readField(page, id, settings().trackTemplate);
      break;
    case IDC_FORMAT_HEADER_DEFAULT:
      restoreDefault(page, IDC_FORMAT_HEADER, settings().headerTemplate, kDefaultHeaderTemplate);
      break;
    case IDC_FORMAT_TRACK_DEFAULT:
      restoreDefault(page, IDC_FORMAT_TRACK, settings().trackTemplate, kDefaultTrackTemplate);
      break;
    default:
      return;
  }
  showPreview(page);
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
