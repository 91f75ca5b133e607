// The page protocol shared by the General, Title format and About pages.
#include "pageProtocol.h"

#include <commctrl.h>

#include "../store/pluginFolder.h"
#include "../controls/heapObject.h"
#include "../controls/tabPageManager.h"
#include "../controls/tooltipBinder.h"

namespace {

const LPARAM kTipWidthPixels = 400;

TooltipBinder* gBinders[kPageKinds] = {nullptr, nullptr, nullptr};

}  // namespace

void pageInit(PageKind kind, HWND page) {
  deleteOnHeap(gBinders[kind]);
  TooltipBinder* binder = newOnHeap<TooltipBinder>(page, pluginModule());
  gBinders[kind] = binder;
  if (!binder) return;
  SendMessageA(binder->tooltipWindow(), TTM_SETMAXTIPWIDTH, 0, kTipWidthPixels);
  binder->attachStringTips(0);
}

void pageNotify(PageKind kind, const NMHDR* header) {
  TooltipBinder* binder = gBinders[kind];
  if (!binder || !header) return;
  if ((int)header->code == PAGE_ACTIVATED) binder->installRelayHook();
  if ((int)header->code == PAGE_DEACTIVATED) TooltipBinder::removeRelayHook();
}

void pageDestroy(PageKind kind) {
  deleteOnHeap(gBinders[kind]);
  gBinders[kind] = nullptr;
}

void removeAnyRelayHook() { TooltipBinder::removeRelayHook(); }
