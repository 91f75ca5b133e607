// What every tab page of the preferences does: tooltips at creation, the mouse relay while
// current, and cleaning up when destroyed.
#pragma once

#include <windows.h>

enum PageKind { kGeneralPage, kTitleFormatPage, kAboutPage, kPageKinds };

// WM_INITDIALOG: creates the page's tooltip binder and gives its controls their tips.
void pageInit(PageKind kind, HWND page);
// WM_NOTIFY: relays the page's mouse messages while it is current.
void pageNotify(PageKind kind, const NMHDR* header);
// WM_DESTROY: removes the page's relay and its tooltips.
void pageDestroy(PageKind kind);
// Removes a relay that is still installed (at shutdown).
void removeAnyRelayHook();
