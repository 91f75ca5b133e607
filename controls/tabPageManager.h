// Turns a tab control into a stack of modeless child pages, each created on first showing and
// told of activation, deactivation and removal. Knows nothing of the plug-in.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Notifications sent to a page (WM_NOTIFY, hwndFrom = the manager's address, idFrom = 0).
const int PAGE_ACTIVATED = -200;
const int PAGE_DEACTIVATED = -201;
const int PAGE_REMOVING = -203;

// One tab's record, kept as the tab item's application data.
struct PageRecord {
  const char* templateName;  // resource id (<= 0xFFFF) or the manager's own copy of a name
  DLGPROC dialogProc;
  HWND pageWindow;           // null until first shown
  char* title;               // the manager's own copy
  const char* tooltip;       // null, a string id (<= 0xFFFF) or the manager's own copy
};

class TabPageManager {
 public:
  // module null: the process's main module.
  TabPageManager(HWND tabControl, HINSTANCE module);
  ~TabPageManager();
  TabPageManager(const TabPageManager&) = delete;
  TabPageManager& operator=(const TabPageManager&) = delete;

  // Takes over a tab control; returns the one attached before. Not a window: changes nothing.
  HWND attach(HWND window);
  // Index of the new tab, -1 when the tab control refuses it, 0 without a template. Without a
  // title the template's caption is used.
  int addPage(const char* title, const char* templateName, DLGPROC dialogProc, const char* tooltip);
  bool showPage(int index);
  bool selectPage(int index);
  // Nonzero: the owning dialog must answer the notification with this value.
  BYTE onNotify(WPARAM controlId, NMHDR* header);
  bool deletePage(int index);
  bool deleteAllPages();

  HWND tabControl() const { return tabControl_; }
  HWND currentPage() const { return currentPage_; }

 private:
  struct WorkingCopy {
    TCITEMHEADERA header;
    PageRecord record;
    TabPageManager* manager;
  };
  bool fetch(int index, WorkingCopy* copy) const;
  LRESULT notifyPage(HWND page, int code);
  HWND createPage(WorkingCopy* copy, int index, HWND parent);
  void placePage(HWND page, HWND parent);
  static void releaseRecord(PageRecord* record);

  HWND tabControl_;
  HWND currentPage_;
  HINSTANCE module_;
};
