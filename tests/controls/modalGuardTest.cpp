// The guard of our modal boxes: what is asked while a box is open waits for it, none dropped.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "../../controls/modalGuard.h"

namespace {

const char kCaption[] = "Guard test";
const UINT kAsked = WM_APP + 40;

struct InsideBox {
  HWND target = nullptr;
  std::vector<bool> accepted;  // postAfterModal's answers, in the order asked
  std::vector<WPARAM> arrived;  // what reached the target, in order
};
InsideBox gInside;

LRESULT CALLBACK targetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kAsked) {
    gInside.arrived.push_back(wParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK closeGuardBox(HWND window, LPARAM) {
  char caption[32] = "";
  GetWindowTextA(window, caption, (int)sizeof caption);
  if (lstrcmpA(caption, kCaption) == 0) PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// The Cue window's requests that may wait for a box: Reset, Open, Export, Save and the notice
// that no recovery copy can be written.
const int kCueRequests = 5;

// Runs inside the box's loop: the Cue window's requests, one of them again, then different
// ones until one more than the queue holds; then closes the box.
void CALLBACK askInsideBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  for (int i = 0; i < kCueRequests; ++i) gInside.accepted.push_back(postAfterModal(gInside.target, kAsked, (WPARAM)i));
  gInside.accepted.push_back(postAfterModal(gInside.target, kAsked, 3));
  for (int i = kCueRequests; i <= kAfterModalMax; ++i)
    gInside.accepted.push_back(postAfterModal(gInside.target, kAsked, (WPARAM)i));
  EnumThreadWindows(GetCurrentThreadId(), closeGuardBox, 0);
}

}  // namespace

TEST(ModalGuard, RequestsWaitForTheBoxInOrderAndOnlyAFullQueueRefuses) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = targetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "GuardTarget";
  RegisterClassA(&wc);
  gInside = InsideBox();
  gInside.target = CreateWindowA("GuardTarget", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(gInside.target, nullptr);
  EXPECT_FALSE(postAfterModal(gInside.target, kAsked, 99));  // no box: nothing waits

  SetTimer(nullptr, 0, 10, askInsideBox);
  EXPECT_EQ(guardedMessageBox(nullptr, "waiting", kCaption, MB_OK), IDOK);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);

  // Every different request up to the queue's size waits, the same one again waits once, and
  // only the one past the size is refused.
  std::vector<bool> accepted(kAfterModalMax + 2, true);
  accepted.back() = false;
  EXPECT_EQ(gInside.accepted, accepted);
  std::vector<WPARAM> arrived;
  for (int i = 0; i < kAfterModalMax; ++i) arrived.push_back((WPARAM)i);
  EXPECT_EQ(gInside.arrived, arrived);
  DestroyWindow(gInside.target);
}
