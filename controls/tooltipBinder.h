// Gives a dialog's controls tooltips from the string table (string number = control id) and,
// while the dialog is current, relays its mouse messages to the tooltip through a thread
// message hook. Knows nothing of the plug-in.
#pragma once

#include <windows.h>

class TooltipBinder {
 public:
  TooltipBinder(HWND page, HINSTANCE module);
  ~TooltipBinder();
  TooltipBinder(const TooltipBinder&) = delete;
  TooltipBinder& operator=(const TooltipBinder&) = delete;

  // Sends TTM_ADDTOOLA; nonzero on success.
  LRESULT addTool(UINT flags, UINT_PTR toolId, const RECT* rect, const char* text,
                  HINSTANCE instance = nullptr);
  // Gives every descendant of the page whose id names a non-empty string that string as tip.
  BOOL attachStringTips(BYTE subclassTools);
  // Relays this page's mouse messages to its tooltip; replaces any other relay.
  void installRelayHook();
  // Removes the relay, whichever page it serves. Safe when none is installed.
  static void removeRelayHook();
  // Whether the relay serves this binder's page.
  bool relaying() const;

  HWND tooltipWindow() const { return tooltipWindow_; }

 private:
  static BOOL CALLBACK attachOne(HWND control, LPARAM binder);

  HWND tooltipWindow_;
  HWND ownerPage_;
  HINSTANCE module_;
  BYTE subclassTools_;
};
