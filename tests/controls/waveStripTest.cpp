// The waveform strip on its own: the range its text states, a press, drags and the release
// reported as frames that map back to their columns, the wheel, and no GDI object left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../base/platformText.h"
#include "../../audio/stripScale.h"
#include "../../controls/waveStrip.h"
#include "../plugin/pluginFixture.h"

namespace {

const wchar_t kOwnerClass[] = L"WaveStripTestOwner";

struct Notice {
  int code;
  long long frame;
  long long half;
};
std::vector<Notice> gNotices;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const WaveStripNotify* notify = (const WaveStripNotify*)lParam;
    gNotices.push_back({(int)notify->header.code, notify->frame, notify->halfFrames});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::string textOf(HWND window) {
  wchar_t wide[128] = L"";
  GetWindowTextW(window, wide, 128);
  char text[384];
  fromWide(wide, text, sizeof text);
  return text;
}

LPARAM at(int x, int y) { return MAKELPARAM((WORD)(short)x, (WORD)(short)y); }

}  // namespace

TEST(WaveStrip, StatesItsRangeReportsTheMouseAsFramesAndLeavesNothing) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  registerWaveStripClass(module);
  WNDCLASSW ownerClass = {};
  ownerClass.lpfnWndProc = ownerProc;
  ownerClass.hInstance = module;
  ownerClass.lpszClassName = kOwnerClass;
  RegisterClassW(&ownerClass);
  HWND owner = CreateWindowExW(0, kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 420, 80, nullptr,
                               nullptr, module, nullptr);
  ASSERT_NE(owner, nullptr);
  // Counted once Wine's caches of window DCs and regions are warm: after a strip has come and gone.
  int gdiBefore = 0;
  HWND strip = nullptr;
  for (int round = 0; round < 2; ++round) {
    if (strip) DestroyWindow(strip);
    UpdateWindow(owner);
    gdiBefore = liveGdiObjects();
    strip = CreateWindowExW(0, WAVESTRIP_CLASS, L"", WS_CHILD | WS_VISIBLE, 10, 10, 400, 60, owner,
                            (HMENU)77, module, nullptr);
    ASSERT_NE(strip, nullptr);
    UpdateWindow(strip);
  }

  // 20 s of a swelling tone, 15 s of it read so far.
  std::vector<signed char> minMax(2 * 1500);
  for (size_t f = 0; f < 1500; ++f) {
    minMax[2 * f] = (signed char)-(f % 128);
    minMax[2 * f + 1] = (signed char)(f % 128);
  }
  const long long marks[] = {900, 1000, 1200};
  const long long found[] = {950};
  EXPECT_TRUE(waveStripSetData(strip, minMax.data(), 2, 1125, 1500));
  EXPECT_TRUE(waveStripSetRange(strip, 1000, 300));
  EXPECT_TRUE(waveStripSetMarks(strip, marks, 3, 1));
  EXPECT_TRUE(waveStripSetSilenceEnds(strip, found, 1));
  EXPECT_TRUE(waveStripSetChangePoints(strip, found, 1));
  EXPECT_TRUE(waveStripSetPlayPosition(strip, 1100));
  EXPECT_FALSE(waveStripSetRange(owner, 0, 75)) << "a window that is no strip is refused";
  EXPECT_EQ(textOf(strip), "00:09:25 \xE2\x80\x93 00:17:25");
  UpdateWindow(strip);
  EXPECT_GE(liveGdiObjects(), gdiBefore + 2) << "the memory DC and bitmap are counted";

  // Press at column 100, drag to 250 (twice: the second move stays in the column), on to the
  // left of the strip with the mouse captured, release there.
  gNotices.clear();
  SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 30));
  EXPECT_EQ(GetCapture(), strip);
  SendMessageW(strip, WM_MOUSEMOVE, MK_LBUTTON, at(250, 30));
  SendMessageW(strip, WM_MOUSEMOVE, MK_LBUTTON, at(250, 45));
  SendMessageW(strip, WM_MOUSEMOVE, MK_LBUTTON, at(-30, 30));
  SendMessageW(strip, WM_LBUTTONUP, 0, at(-30, 30));
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_EQ(gNotices.size(), 4u);
  const int codes[] = {WSN_PRESSED, WSN_DRAGGED, WSN_DRAGGED, WSN_RELEASED};
  const long long columns[] = {100, 250, 0, 0};
  StripScale scale = stripAround(1000, 300, 400, 1500);
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(gNotices[i].code, codes[i]);
    EXPECT_EQ(stripColumnOf(scale, gNotices[i].frame), columns[i]) << "frame " << gNotices[i].frame;
    EXPECT_EQ(gNotices[i].half, 300);
  }

  // Another window takes the mouse during a drag: the strip reports the release itself.
  gNotices.clear();
  SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at(50, 30));
  SetCapture(owner);
  ReleaseCapture();
  ASSERT_EQ(gNotices.size(), 2u);
  EXPECT_EQ(gNotices[1].code, WSN_RELEASED);
  EXPECT_EQ(gNotices[1].frame, gNotices[0].frame);

  // Two half notches forward make one: 4 s either side become 2 s.
  gNotices.clear();
  SendMessageW(strip, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), at(200, 30));
  EXPECT_TRUE(gNotices.empty());
  SendMessageW(strip, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), at(200, 30));
  ASSERT_EQ(gNotices.size(), 1u);
  EXPECT_EQ(gNotices[0].code, WSN_ZOOMED);
  EXPECT_EQ(gNotices[0].half, 150);
  EXPECT_EQ(textOf(strip), "00:11:25 \xE2\x80\x93 00:15:25");

  // A status instead of the wave, then no width at all, then a new size: each painted.
  EXPECT_TRUE(waveStripSetStatus(strip, "Reading the audio\xE2\x80\xA6 42 %"));
  UpdateWindow(strip);
  SetWindowPos(strip, nullptr, 0, 0, 0, 60, SWP_NOZORDER | SWP_NOMOVE);
  UpdateWindow(strip);
  SetWindowPos(strip, nullptr, 0, 0, 300, 40, SWP_NOZORDER | SWP_NOMOVE);
  UpdateWindow(strip);

  DestroyWindow(strip);
  UpdateWindow(owner);
  EXPECT_EQ(liveGdiObjects(), gdiBefore);
  DestroyWindow(owner);
  UnregisterClassW(kOwnerClass, module);
  unregisterWaveStripClass(module);
}
