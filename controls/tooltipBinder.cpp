// String-table tooltips and the mouse relay hook.
#include "tooltipBinder.h"

#include <commctrl.h>

namespace {

const size_t kTipBytes = 2048;
const UINT kToolInfoBytes = 44;  // the record that ends with lParam
const UINT kFlagsPlain = TTF_IDISHWND;
const UINT kFlagsSubclass = TTF_IDISHWND | TTF_SUBCLASS;

// One relay at a time for the whole module.
struct RelayHookState {
  HHOOK hook;
  HWND page;
  HWND tooltip;
};

RelayHookState gRelay = {nullptr, nullptr, nullptr};

bool isRelayedMouseMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK relayHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* msg = (const MSG*)lParam;
  if (code >= 0 && msg && isRelayedMouseMessage(msg->message) && gRelay.tooltip &&
      IsChild(gRelay.page, msg->hwnd))
    SendMessageA(gRelay.tooltip, TTM_RELAYEVENT, 0, lParam);
  return CallNextHookEx(gRelay.hook, code, wParam, lParam);
}

}  // namespace

TooltipBinder::TooltipBinder(HWND page, HINSTANCE module)
    : tooltipWindow_(nullptr), ownerPage_(page), module_(module), subclassTools_(0) {
  tooltipWindow_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   module, nullptr);
}

TooltipBinder::~TooltipBinder() {
  if (relaying()) removeRelayHook();
  if (tooltipWindow_) DestroyWindow(tooltipWindow_);
}

LRESULT TooltipBinder::addTool(UINT flags, UINT_PTR toolId, const RECT* rect, const char* text,
                               HINSTANCE instance) {
  TTTOOLINFOA info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = kToolInfoBytes;
  info.uFlags = flags;
  info.hwnd = ownerPage_;
  info.uId = toolId;
  if (rect) info.rect = *rect;
  info.hinst = instance;
  info.lpszText = const_cast<char*>(text);
  return SendMessageA(tooltipWindow_, TTM_ADDTOOLA, 0, (LPARAM)&info);
}

BOOL CALLBACK TooltipBinder::attachOne(HWND control, LPARAM param) {
  TooltipBinder* binder = (TooltipBinder*)param;
  char tip[kTipBytes];
  int id = GetDlgCtrlID(control);
  if (LoadStringA(binder->module_, (UINT)id, tip, (int)sizeof tip) > 0)
    binder->addTool(binder->subclassTools_ ? kFlagsSubclass : kFlagsPlain, (UINT_PTR)control,
                    nullptr, tip);
  return TRUE;
}

BOOL TooltipBinder::attachStringTips(BYTE subclassTools) {
  subclassTools_ = subclassTools;
  return EnumChildWindows(ownerPage_, attachOne, (LPARAM)this);
}

void TooltipBinder::installRelayHook() {
  removeRelayHook();
  gRelay.page = ownerPage_;
  gRelay.tooltip = tooltipWindow_;
  gRelay.hook = SetWindowsHookExA(WH_GETMESSAGE, relayHookProc, nullptr, GetCurrentThreadId());
}

void TooltipBinder::removeRelayHook() {
  if (gRelay.hook) UnhookWindowsHookEx(gRelay.hook);
  gRelay.hook = nullptr;
  gRelay.page = nullptr;
  gRelay.tooltip = nullptr;
}

bool TooltipBinder::relaying() const { return gRelay.hook && gRelay.page == ownerPage_; }
