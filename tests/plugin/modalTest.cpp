// Our modal boxes run the player's messages while they wait: a shutdown, a mark and a second
// Save can all arrive inside one.
#include <windows.h>

#include <cstring>

#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

// What a timer does while a box of ours waits for the user.
struct InsideTheBox {
  StandInPlayer* player = nullptr;
  const char* caption = "Saved to";
  bool unload = false;  // quit and FreeLibrary, as a player closed from the taskbar does
  bool markAndSave = false;
  bool commitThenYes = false;  // an entry marked and committed, then Yes
  HWND box = nullptr;   // the box as it was when the timer fired
  bool cueEnabled = true;  // the Cue window took input while the box was open
  bool rescued = false; // the box was still open long after and had to be closed by the test
};
InsideTheBox gInside;

struct BoxSearch {
  const char* caption;
  HWND found;
};

BOOL CALLBACK matchBox(HWND window, LPARAM param) {
  BoxSearch* search = (BoxSearch*)param;
  char className[16] = "";
  char caption[64] = "";
  GetClassNameA(window, className, (int)sizeof className);
  GetWindowTextA(window, caption, (int)sizeof caption);
  if (strcmp(className, "#32770") != 0 || strcmp(caption, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The box of this thread with the caption; another test program's boxes may be up meanwhile.
HWND boxOfThisThread(const char* caption) {
  BoxSearch search = {caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), matchBox, (LPARAM)&search);
  return search.found;
}

// Runs every few milliseconds until the box is there, then acts once.
void CALLBACK actInsideTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
  gInside.box = boxOfThisThread(gInside.caption);
  if (!gInside.box) return;
  KillTimer(nullptr, timer);
  if (gInside.commitThenYes) {
    gInside.player->capture(CAPTURE_MARK);
    HWND info = findPluginDialog(IDC_INFO_OK);
    SetDlgItemTextA(info, IDC_INFO_TITLE, "Marked meanwhile");
    SendMessageA(info, WM_COMMAND, MAKEWPARAM(IDC_INFO_OK, BN_CLICKED), (LPARAM)GetDlgItem(info, IDC_INFO_OK));
    PostMessageA(gInside.box, WM_COMMAND, IDYES, 0);
    return;
  }
  if (gInside.markAndSave) {
    HWND cue = findPluginDialog(IDC_CUE_EDITOR);
    gInside.cueEnabled = IsWindowEnabled(cue) != FALSE;
    gInside.player->capture(CAPTURE_MARK);
    gInside.player->capture(CAPTURE_SAVE);
    SendMessageA(cue, WM_COMMAND, MAKEWPARAM(IDC_CUE_RESET, BN_CLICKED), (LPARAM)GetDlgItem(cue, IDC_CUE_RESET));
    gInside.player->closeMessageBoxes = true;  // the boxes of what waited
    PostMessageA(gInside.box, WM_COMMAND, IDOK, 0);
    return;
  }
  gInside.player->quit();
  if (gInside.unload) gInside.player->unload();
}

// Never lets a test hang on a box that nothing closed.
void CALLBACK rescue(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND box = boxOfThisThread(gInside.caption);
  if (box) {
    gInside.rescued = true;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}

class ModalTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    player->playlist[0].path = folder + "\\mix.mp3";
    player->closeMessageBoxes = false;
    gInside = InsideTheBox();
    gInside.player = player.get();
  }
  // Presses a Cue window button (Save by default); the timers act while its box is shown.
  // Returns when the box has closed.
  void pressWithTimers(int id = IDC_CUE_SAVE) {
    UINT_PTR act = SetTimer(nullptr, 0, 10, actInsideTheBox);
    UINT_PTR last = SetTimer(nullptr, 0, 4000, rescue);
    HWND cue = cueWindow();
    SendMessageA(cue, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(cue, id));
    KillTimer(nullptr, act);
    KillTimer(nullptr, last);
    player->pump(50);
  }
};

}  // namespace

TEST_F(ModalTest, QuitWhileTheBoxIsOpenClosesItAndKeepsTheCodeLoaded) {
  struct {
    bool unload;
    const char* caption;
    int button;
  } cases[] = {{false, "Saved to", IDC_CUE_SAVE}, {true, "Saved to", IDC_CUE_SAVE}, {true, "LUMO", IDC_CUE_RESET}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.unload ? "quit and FreeLibrary, " : "quit, ") + c.caption);
    bool unload = c.unload;
    start();
    commitEntry("One", "P");
    size_t boxes = player->messageBoxes.size();
    std::string dll = dllPath;
    gInside.unload = unload;
    gInside.caption = c.caption;
    pressWithTimers(c.button);  // a crash here is the fault: the box returning into unloaded code
    ASSERT_NE(gInside.box, nullptr) << "the box was shown";
    EXPECT_FALSE(IsWindow(gInside.box)) << "closed";
    EXPECT_FALSE(gInside.rescued) << "closed by the shutdown itself";
    EXPECT_EQ(cueWindow(), nullptr);
    EXPECT_EQ(windowProcOf(player->window()), StandInPlayer::PlayerWndProc);
    if (!unload) player->unload();
    EXPECT_NE(GetModuleHandleA(dll.c_str()), nullptr) << "pinned: its code was still on the stack";
    // The player goes on working with our procedure gone.
    EXPECT_EQ(player->capture(CAPTURE_MARK), 0);
    EXPECT_EQ(player->messageBoxes.size(), boxes + 1);
  }
}

TEST_F(ModalTest, WhileTheBoxIsOpenAMarkRunsAndSaveAndResetWaitForIt) {
  start();
  commitEntry("One", "P");
  player->playState = HOST_STATE_PLAYING;
  size_t first = player->events.size();
  gInside.markAndSave = true;
  pressWithTimers();
  EXPECT_FALSE(gInside.rescued);
  EXPECT_FALSE(gInside.cueEnabled) << "the box belongs to the Cue window, which waits for it";
  EXPECT_TRUE(IsWindowVisible(infoWindow())) << "the mark went on";
  EXPECT_EQ(player->playState, HOST_STATE_PAUSED);
  std::vector<std::string> events = eventsFrom(*player, first);
  EXPECT_NE(std::find(events.begin(), events.end(), "cmd pause"), events.end());
  // Save and Reset pressed meanwhile were carried out once the box had closed, in that order:
  // the sheet was saved again, then emptied without a question (nothing was unsaved).
  ASSERT_EQ(player->messageBoxes.size(), 2u);
  EXPECT_EQ(player->messageBoxes[1].caption, "Saved to");
  EXPECT_EQ(player->messageBoxes[1].owner, cueWindow());
  EXPECT_EQ(editorText(), "");
}

TEST_F(ModalTest, EntryMarkedWhileDiscardIsAskedIsKept) {
  start();
  commitEntry("One", "P");
  gInside.caption = "LUMO";
  gInside.commitThenYes = true;
  pressWithTimers(IDC_CUE_RESET);
  EXPECT_FALSE(gInside.rescued);
  EXPECT_NE(editorText().find("Marked meanwhile"), std::string::npos) << "Yes discards only what it was asked about";
}
