// The QevWebLink class that the DLL registers at start-up: hit test, cursor, clicks, drawing.
#include <windows.h>

#include "pluginFixture.h"

namespace {

int gClicks = 0;

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == 77) ++gClicks;
  return DefWindowProcA(window, message, wParam, lParam);
}

class WebLinkTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    start(false);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "WebLinkTestParent";
    RegisterClassA(&wc);
    parent_ = CreateWindowExA(0, "WebLinkTestParent", "parent", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                              120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    gClicks = 0;
  }
  void TearDown() override {
    DestroyWindow(parent_);
    PluginTest::TearDown();
  }

  HWND makeLink(const char* text, int width) {
    return CreateWindowExA(0, "QevWebLink", text, WS_CHILD | WS_VISIBLE, 20, 30, width, 40, parent_,
                           (HMENU)77, player->module(), nullptr);
  }

  // Hit test at a point given in the link's client coordinates.
  LRESULT hitAt(HWND link, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(link, &p);
    return SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM((WORD)(short)p.x, (WORD)(short)p.y));
  }

  // The text rectangle along the middle row, found by hit tests: [left, right).
  void textSpan(HWND link, int* left, int* right) {
    *left = *right = -10000;
    for (int x = -400; x < 400; ++x) {
      bool in = hitAt(link, x, 20) == HTCLIENT;
      if (in && *left == -10000) *left = x;
      if (!in && *left != -10000 && *right == -10000) *right = x;
    }
  }

  HWND parent_ = nullptr;
};

}  // namespace

TEST_F(WebLinkTest, HitTestOnlyOverCentredTextAfterFirstPaint) {
  HWND link = makeLink("LumoMarker", 200);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(link, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(hitAt(link, 100, 20), HTNOWHERE) << "before the first paint the text rectangle is empty";

  UpdateWindow(link);
  int left, right;
  textSpan(link, &left, &right);
  ASSERT_GT(left, 0);
  ASSERT_LT(right, 200);
  EXPECT_LE(abs((left - 0) - (200 - right)), 1) << "centred: " << left << ".." << right;
  EXPECT_EQ(hitAt(link, left, 20), HTCLIENT) << "left edge inside";
  EXPECT_EQ(hitAt(link, right, 20), HTNOWHERE) << "right edge outside";
  EXPECT_EQ(hitAt(link, 100, 0), HTNOWHERE) << "above the text";

  SetWindowPos(parent_, nullptr, -600, -300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(hitAt(link, (left + right) / 2, 20), HTCLIENT) << "negative screen coordinates";
}

TEST_F(WebLinkTest, TextWiderThanWindowStartsLeftOfIt) {
  HWND link = makeLink("A rather long link text that cannot fit in the control", 40);
  UpdateWindow(link);
  int left, right;
  textSpan(link, &left, &right);
  EXPECT_LT(left, 0);
  EXPECT_GT(right, 40);
}

TEST_F(WebLinkTest, HandCursorOverTextAndClicksReachParent) {
  HWND link = makeLink("LumoMarker", 200);
  UpdateWindow(link);
  EXPECT_EQ(SendMessageA(link, WM_SETCURSOR, (WPARAM)link, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, (LPCSTR)IDC_HAND));
  EXPECT_EQ(SendMessageA(link, WM_SETCURSOR, (WPARAM)link, MAKELPARAM(HTNOWHERE, WM_MOUSEMOVE)), 1);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
  EXPECT_EQ(SendMessageA(link, WM_SETFOCUS, 0, 0), 1);

  SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 20));
  SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(100, 20));
  player->pump();
  EXPECT_EQ(gClicks, 1);
}

TEST_F(WebLinkTest, ManyLinksLeaveNoGdiObjects) {
  HWND warm = makeLink("warm", 100);
  UpdateWindow(warm);
  DestroyWindow(warm);
  DWORD before = (DWORD)liveGdiObjects();
  for (int i = 0; i < 50; ++i) {
    HWND link = makeLink("LumoMarker", 150);
    UpdateWindow(link);
    InvalidateRect(link, nullptr, TRUE);
    UpdateWindow(link);
    DestroyWindow(link);
  }
  EXPECT_EQ((DWORD)liveGdiObjects(), before);
}
