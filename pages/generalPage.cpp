// The General page: the Enable box switches capture on and off at once, Show cue sheet
// brings the Cue window back, and the two mark settings, the encoding and the CD check box take
// effect as they are set.
#include "../base/settingsText.h"
#include "../base/text.h"
#include "../capture/captureController.h"
#include "../res/resource.h"
#include "../store/settings.h"
#include "pageProtocol.h"
#include "pages.h"

namespace {

const int kNumberFieldBytes = 16;
// The items of "Cue sheet text", in the order of the encoding setting's values.
const wchar_t* const kEncodingItems[] = {L"Automatic (ASCII, else UTF-8 with BOM)", L"UTF-8 without BOM",
                                         L"ANSI (this Windows' code page)"};

struct NumberField {
  int id;
  int* value;
  int largest;
  int fallback;  // an empty field
};

NumberField fieldFor(int id) {
  Settings& s = settings();
  if (id == IDC_GENERAL_OFFSET) return {id, &s.markOffsetMs, kMarkOffsetMsMax, kMarkOffsetMsDefault};
  return {id, &s.listenLeadSeconds, kListenLeadSecondsMax, kListenLeadSecondsDefault};
}

void showNumber(HWND page, const NumberField& field) {
  char text[kNumberFieldBytes];
  formatInt(text, sizeof text, *field.value);
  SetDlgItemTextA(page, field.id, text);
}

// The field's number becomes the setting at once, held within its range.
void takeNumber(HWND page, const NumberField& field) {
  char text[kNumberFieldBytes];
  GetDlgItemTextA(page, field.id, text, (int)sizeof text);
  int value = field.fallback;
  parseSettingInt(text, &value);
  *field.value = clampSetting(value, field.largest);
}

void onGeneralInit(HWND page) {
  CheckDlgButton(page, IDC_GENERAL_ENABLE, settings().enabled ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, IDC_GENERAL_SNAP, settings().snap ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, IDC_GENERAL_CDCHECK, settings().cdCheck ? BST_CHECKED : BST_UNCHECKED);
  const int kNumberFields[] = {IDC_GENERAL_OFFSET, IDC_GENERAL_LEAD};
  for (int id : kNumberFields) {
    SendDlgItemMessageA(page, id, EM_SETLIMITTEXT, kNumberFieldBytes - 1, 0);
    showNumber(page, fieldFor(id));
  }
  for (const wchar_t* item : kEncodingItems)
    SendDlgItemMessageW(page, IDC_GENERAL_ENCODING, CB_ADDSTRING, 0, (LPARAM)item);
  SendDlgItemMessageW(page, IDC_GENERAL_ENCODING, CB_SETCURSEL, (WPARAM)settings().encoding, 0);
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

void onGeneralCommand(HWND page, WORD id, WORD code) {
  switch (id) {
    case IDC_GENERAL_ENABLE:
      onEnableClicked(page);
      break;
    case IDC_GENERAL_SHOW_CUE:
      showCueSheet();
      break;
    case IDC_GENERAL_SNAP:
      settings().snap = IsDlgButtonChecked(page, IDC_GENERAL_SNAP) == BST_CHECKED ? 1 : 0;
      break;
    case IDC_GENERAL_CDCHECK:
      settings().cdCheck = IsDlgButtonChecked(page, IDC_GENERAL_CDCHECK) == BST_CHECKED ? 1 : 0;
      break;
    case IDC_GENERAL_ENCODING:
      if (code == CBN_SELCHANGE) {
        LRESULT chosen = SendDlgItemMessageW(page, IDC_GENERAL_ENCODING, CB_GETCURSEL, 0, 0);
        if (chosen >= 0) settings().encoding = clampSetting((int)chosen, kEncodingLast);
      }
      break;
    case IDC_GENERAL_OFFSET:
    case IDC_GENERAL_LEAD:
      if (code == EN_CHANGE) takeNumber(page, fieldFor(id));
      if (code == EN_KILLFOCUS) showNumber(page, fieldFor(id));  // as it was taken
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onGeneralInit(page);
      break;
    case WM_COMMAND:
      onGeneralCommand(page, LOWORD(wParam), HIWORD(wParam));
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
