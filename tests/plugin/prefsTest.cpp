// The LUMO preferences page in the stand-in player's preferences window, through the real DLL.
#include <windows.h>

#include <commctrl.h>

#include <map>

#include "../../controls/tabPageManager.h"
#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

using Events = std::vector<std::string>;

const char kDefaultHeader[] =
    "PERFORMER \"%artist%\"\\r\\nTITLE \"%title%\"\\r\\nFILE \"%filename%\" %filetype%";

struct Tip {
  HWND tooltip;
  int controlId;
  std::string text;
};

BOOL CALLBACK collectTooltip(HWND window, LPARAM param) {
  char cls[64];
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0) return TRUE;
  std::vector<Tip>* tips = (std::vector<Tip>*)param;
  int count = (int)SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    TTTOOLINFOW info = {};
    info.cbSize = 44;
    if (!SendMessageW(window, TTM_ENUMTOOLSW, (WPARAM)i, (LPARAM)&info)) continue;
    // The ANSI text query stops at 80 characters under Wine; the wide one takes a buffer size.
    wchar_t wide[2048] = L"";
    info.lpszText = wide;
    SendMessageW(window, TTM_GETTEXTW, 2048, (LPARAM)&info);
    char text[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    tips->push_back({window, GetDlgCtrlID((HWND)info.uId), text});
  }
  return TRUE;
}

std::vector<Tip> allTips() {
  std::vector<Tip> tips;
  EnumThreadWindows(GetCurrentThreadId(), collectTooltip, (LPARAM)&tips);
  return tips;
}

// Counts the relays that reach each tooltip window.
std::map<HWND, int> gRelays;
std::map<HWND, WNDPROC> gTooltipProcs;
std::vector<UINT> gRelayedMessages;
LRESULT CALLBACK countingTooltip(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TTM_RELAYEVENT) {
    ++gRelays[window];
    gRelayedMessages.push_back(((MSG*)lParam)->message);
  }
  return CallWindowProcA(gTooltipProcs[window], window, message, wParam, lParam);
}

class PrefsTest : public PluginTest {
 protected:
  void openAt(int tab) {
    writeFile(iniPath(), "[LUMO]\r\ncurrentpageindex=" + std::to_string(tab) + "\r\n");
    start();
    player->config();
    ASSERT_NE(player->preferencesPage(), nullptr);
  }
  HWND page() const { return player->preferencesPage(); }
  HWND tabs() const { return GetDlgItem(page(), IDC_PREFS_TABS); }
  int selection() const { return (int)SendMessageA(tabs(), TCM_GETCURSEL, 0, 0); }

  // The window of a tab's page, null before it was first shown.
  HWND pageWindow(int index) const {
    struct {
      TCITEMHEADERA header;
      PageRecord record;
    } item = {};
    item.header.mask = TCIF_PARAM;
    SendMessageA(tabs(), TCM_GETITEMA, (WPARAM)index, (LPARAM)&item);
    return item.record.pageWindow;
  }
  HWND shownPage() const {
    for (int i = 0; i < 3; ++i)
      if (pageWindow(i) && IsWindowVisible(pageWindow(i))) return pageWindow(i);
    return nullptr;
  }

  // A click on a tab, as the tab control reports it to its parent.
  void clickTab(int index) {
    NMHDR changing = {tabs(), (UINT_PTR)IDC_PREFS_TABS, (UINT)TCN_SELCHANGING};
    if (SendMessageA(page(), WM_NOTIFY, IDC_PREFS_TABS, (LPARAM)&changing)) return;
    SendMessageA(tabs(), TCM_SETCURSEL, (WPARAM)index, 0);
    NMHDR change = {tabs(), (UINT_PTR)IDC_PREFS_TABS, (UINT)TCN_SELCHANGE};
    SendMessageA(page(), WM_NOTIFY, IDC_PREFS_TABS, (LPARAM)&change);
    player->pump();
  }

  // Typing: replaces the field's text the way the keyboard does, so the field reports EN_CHANGE.
  void typeInto(HWND dialog, int id, const std::string& text) {
    SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, -1);
    SendDlgItemMessageA(dialog, id, EM_REPLACESEL, TRUE, (LPARAM)text.c_str());
    player->pump();
  }

  void click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    player->pump();
  }

  std::string tabText(int index) const {
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs(), TCM_GETITEMA, (WPARAM)index, (LPARAM)&item);
    return text;
  }

  WNDPROC hostProc() const { return windowProcOf(player->window()); }

  // Posts a mouse message to a control and lets the message loop (and the relay hook) see it.
  void mouse(HWND control, UINT message) {
    PostMessageA(control, message, 0, MAKELPARAM(3, 3));
    player->pump();
  }
  void countRelays() {
    gRelays.clear();
    gRelayedMessages.clear();
    for (const Tip& t : allTips())
      if (!gTooltipProcs.count(t.tooltip) ||
          (WNDPROC)GetWindowLongPtrA(t.tooltip, GWLP_WNDPROC) != countingTooltip)
        gTooltipProcs[t.tooltip] =
            (WNDPROC)SetWindowLongPtrA(t.tooltip, GWLP_WNDPROC, (LONG_PTR)countingTooltip);
  }
  HWND tooltipOf(HWND control) const {
    for (const Tip& t : allTips())
      if (t.controlId == GetDlgCtrlID(control) && IsChild(GetParent(control), control)) return t.tooltip;
    return nullptr;
  }
};

}  // namespace

TEST_F(PrefsTest, TabsInOrderAndRememberedTab) {
  openAt(1);
  ASSERT_EQ(SendMessageA(tabs(), TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(tabText(0), "General");
  EXPECT_EQ(tabText(1), "Title format");
  EXPECT_EQ(tabText(2), "About");
  EXPECT_EQ(selection(), 1);
  EXPECT_EQ(pageWindow(0), nullptr) << "General is not created until chosen";
  EXPECT_EQ(shownPage(), pageWindow(1));

  RECT pageRect, frame;
  GetWindowRect(page(), &pageRect);
  GetClientRect(GetWindow(page(), GW_HWNDPREV), &frame);
  EXPECT_EQ(pageRect.right - pageRect.left, frame.right);
  EXPECT_EQ(pageRect.bottom - pageRect.top, frame.bottom);
}

TEST_F(PrefsTest, RememberedTabForEveryStoredIndex) {
  struct {
    int stored;
    int selection;
    bool pageShown;
  } cases[] = {{0, 0, true}, {2, 2, true}, {3, -2, false}, {-1, -1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    openAt(c.stored);
    if (c.selection != -2) {
      EXPECT_EQ(selection(), c.selection);
    }
    EXPECT_EQ(shownPage() != nullptr, c.pageShown);
    if (!c.pageShown) {
      clickTab(1);
      EXPECT_EQ(shownPage(), pageWindow(1)) << "choosing a tab shows its page";
    }
    player->closePreferences();
    stop();
  }
}

TEST_F(PrefsTest, TabChangesAreRememberedAndWrittenAtQuit) {
  openAt(0);
  HWND general = pageWindow(0);
  click(general, IDC_GENERAL_ENABLE);  // the boxes keep the state the user gave them
  EXPECT_EQ(IsDlgButtonChecked(general, IDC_GENERAL_CDCHECK), (UINT)BST_UNCHECKED) << "off by default";
  click(general, IDC_GENERAL_CDCHECK);
  clickTab(2);
  EXPECT_EQ(selection(), 2);
  clickTab(0);
  EXPECT_EQ(pageWindow(0), general) << "created once, shown twice";
  EXPECT_EQ(IsDlgButtonChecked(general, IDC_GENERAL_ENABLE), (UINT)BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(general, IDC_GENERAL_CDCHECK), (UINT)BST_CHECKED);
  clickTab(2);
  player->closePreferences();
  stop();
  EXPECT_NE(readFile(iniPath()).find("currentpageindex=2\r\n"), std::string::npos);
  EXPECT_NE(readFile(iniPath()).find("cdcheck=1\r\n"), std::string::npos);
}

TEST_F(PrefsTest, EnableBoxInstallsAndRemovesCaptureAtOnce) {
  player->unloadAtClose = true;  // quit while the window lives: our procedure comes off it
  openAt(0);
  ASSERT_TRUE(waitForHotkeys());  // no registration may come between the events compared below
  HWND general = pageWindow(0);
  EXPECT_EQ(IsDlgButtonChecked(general, IDC_GENERAL_ENABLE), (UINT)BST_CHECKED);
  WNDPROC capture = hostProc();
  ASSERT_NE(capture, StandInPlayer::PlayerWndProc);

  click(general, IDC_GENERAL_ENABLE);
  EXPECT_EQ(hostProc(), StandInPlayer::PlayerWndProc);
  size_t first = player->events.size();
  player->playState = HOST_STATE_PLAYING;
  mark();
  EXPECT_EQ(eventsFrom(*player, first), Events({"capture 1"})) << "the hot key does nothing";

  click(general, IDC_GENERAL_ENABLE);
  click(general, IDC_GENERAL_ENABLE);
  click(general, IDC_GENERAL_ENABLE);
  EXPECT_EQ(hostProc(), capture) << "installed exactly once";
  first = player->events.size();
  mark();
  EXPECT_EQ(eventsFrom(*player, first),
            Events({"playstate", "cmd pause", "time 0", "playlist-index", "entry-path-wide 0", "service-manager",
                    "capture 1"}));

  player->closePreferences();
  stop();
  EXPECT_EQ(hostProc(), StandInPlayer::PlayerWndProc);
  EXPECT_NE(readFile(iniPath()).find("enabled=1\r\n"), std::string::npos);
}

TEST_F(PrefsTest, EnableBoxUnderAnotherSubclassKeepsChain) {
  static WNDPROC otherSaved = nullptr;
  struct Other {
    static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
      return CallWindowProcW(otherSaved, w, m, wp, lp);
    }
  };
  openAt(0);
  ASSERT_TRUE(waitForHotkeys());  // no registration may come between the events compared below
  HWND general = pageWindow(0);
  otherSaved = (WNDPROC)SetWindowLongPtrW(player->window(), GWLP_WNDPROC, (LONG_PTR)Other::proc);

  click(general, IDC_GENERAL_ENABLE);
  EXPECT_EQ(hostProc(), Other::proc) << "a later subclass is never cut out";
  size_t first = player->events.size();
  player->playState = HOST_STATE_PLAYING;
  mark();
  EXPECT_EQ(eventsFrom(*player, first), Events({"capture 1"}));

  click(general, IDC_GENERAL_ENABLE);
  first = player->events.size();
  mark();
  EXPECT_EQ(eventsFrom(*player, first),
            Events({"playstate", "cmd pause", "time 0", "playlist-index", "entry-path-wide 0", "service-manager",
                    "capture 1"}))
      << "actions back on, and our procedure is in the chain once";
  SetWindowLongPtrW(player->window(), GWLP_WNDPROC, (LONG_PTR)otherSaved);
}

TEST_F(PrefsTest, StartedDisabledThenChecked) {
  writeFile(iniPath(), "[LUMO]\r\nenabled=0\r\n");
  start();
  player->config();
  HWND general = pageWindow(0);
  ASSERT_NE(general, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(general, IDC_GENERAL_ENABLE), (UINT)BST_UNCHECKED);
  click(general, IDC_GENERAL_ENABLE);
  EXPECT_NE(hostProc(), StandInPlayer::PlayerWndProc);
  commitEntry("Now", "On");
  EXPECT_NE(editorText().find("TITLE \"Now\""), std::string::npos);
}

TEST_F(PrefsTest, LiveTemplateEditsAndDefaults) {
  openAt(1);
  HWND format = pageWindow(1);
  char text[600];
  GetDlgItemTextA(format, IDC_FORMAT_HEADER, text, sizeof text);
  EXPECT_STREQ(text, kDefaultHeader);

  typeInto(format, IDC_FORMAT_HEADER, "HEAD %artist%");
  typeInto(format, IDC_FORMAT_TRACK, "T%trackcount% %trackname%\\r\\nline two");
  commitEntry("Live", "P");
  EXPECT_EQ(editorText(), "HEAD The Band\r\nT01 Live\r\nline two\r\n");
  EXPECT_EQ(readFile(iniPath()).find("HEAD"), std::string::npos) << "written only at quit";

  click(format, IDC_FORMAT_HEADER_DEFAULT);
  GetDlgItemTextA(format, IDC_FORMAT_HEADER, text, sizeof text);
  EXPECT_STREQ(text, kDefaultHeader);
  GetDlgItemTextA(format, IDC_FORMAT_TRACK, text, sizeof text);
  EXPECT_STREQ(text, "T%trackcount% %trackname%\\r\\nline two") << "the track template is untouched";

  typeInto(format, IDC_FORMAT_TRACK, std::string(600, 'x'));
  commitEntry("Cut", "P");
  EXPECT_EQ(player->renderedTemplates.back(), std::string(511, 'x'));
  GetDlgItemTextA(format, IDC_FORMAT_TRACK, text, sizeof text);
  EXPECT_EQ(std::string(text), std::string(511, 'x')) << "the field shows what is used";

  click(format, IDC_FORMAT_TRACK_DEFAULT);
  commitEntry("Back", "P");  // the first TRACK line of the sheet: numbered 01
  EXPECT_NE(editorText().find("TRACK 01 AUDIO\r\n    TITLE \"Back\""), std::string::npos);

  typeInto(format, IDC_FORMAT_TRACK, "A\r\nB \"q\" ");  // a real line break typed with Ctrl+Enter
  player->closePreferences();
  resetSheet();  // no unsaved sheet to come back after the restart
  stop();
  EXPECT_NE(readFile(iniPath()).find("balloontitle=\"A\\r\\nB \"q\" \"\r\n"), std::string::npos)
      << readFile(iniPath());
  start();
  commitEntry("Restart", "P");
  EXPECT_EQ(editorText(), std::string("PERFORMER \"The Band\"\r\nTITLE \"Live 2004\"\r\nFILE "
                                      "\"set1.mp3\" MP3\r\nA\r\nB \"q\" \r\n"));
}

TEST_F(PrefsTest, TemplateWithLineBreaksComesBackWholeAfterRestart) {
  // 509 characters with 11 real line breaks (Ctrl+Enter): stored as escapes it is 531 long.
  std::vector<std::string> lines = {"TRACK %trackcount% AUDIO"};
  for (int i = 0; i < 10; ++i) lines.push_back("REM " + std::string(40, (char)('a' + i)));
  lines.push_back("    INDEX 01 %curpos%");
  std::string typed, stored;
  for (size_t i = 0; i < lines.size(); ++i) {
    typed += (i ? "\r\n" : "") + lines[i];
    stored += (i ? "\\r\\n" : "") + lines[i];
  }
  size_t pad = 509 - typed.size();
  typed.insert(4, pad, 'K');
  stored.insert(4, pad, 'K');
  ASSERT_EQ(typed.size(), 509u);
  ASSERT_EQ(stored.size(), 531u);
  openAt(1);
  typeInto(pageWindow(1), IDC_FORMAT_TRACK, typed);
  player->closePreferences();
  stop();
  start();
  commitEntry("T", "P");
  EXPECT_EQ(player->renderedTemplates.back(), stored) << "the INDEX line is still there";
  player->config();
  char text[1100];
  GetDlgItemTextA(pageWindow(1), IDC_FORMAT_TRACK, text, sizeof text);
  EXPECT_EQ(std::string(text), stored) << "shown whole";
}

TEST_F(PrefsTest, OpeningShowsTemplatesAsTheyAreInMemory) {
  openAt(1);
  typeInto(pageWindow(1), IDC_FORMAT_TRACK, "edited earlier");
  player->closePreferences();
  player->config();
  char text[64];
  GetDlgItemTextA(pageWindow(1), IDC_FORMAT_TRACK, text, sizeof text);
  EXPECT_STREQ(text, "edited earlier");
}

TEST_F(PrefsTest, AboutNotesFromFileEmptyFileAndMissingFile) {
  writeFile(folder + "\\gen_lumo.txt", "Line one\r\nLine two\r\n");
  openAt(2);
  char text[256];
  GetDlgItemTextA(pageWindow(2), IDC_ABOUT_NOTES, text, sizeof text);
  EXPECT_STREQ(text, "Line one\r\nLine two\r\n");
  EXPECT_EQ(SendDlgItemMessageA(pageWindow(2), IDC_ABOUT_NOTES, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(pageWindow(2), IDC_ABOUT_NOTES), GWL_STYLE) & ES_READONLY);
  HFONT font = (HFONT)SendDlgItemMessageA(pageWindow(2), IDC_ABOUT_NOTES, WM_GETFONT, 0, 0);
  LOGFONTA description = {};
  ASSERT_TRUE(GetObjectA(font, sizeof description, &description));
  EXPECT_EQ(description.lfHeight, -11);
  EXPECT_STREQ(description.lfFaceName, "MS Shell Dlg");
  player->closePreferences();

  // A paragraph wider than the field wraps at its words: no line is hidden to the right.
  std::string paragraph;
  for (int i = 0; i < 40; ++i) paragraph += "wrapped ";
  writeFile(folder + "\\gen_lumo.txt", paragraph + "\r\n");
  player->config();
  EXPECT_GT(SendDlgItemMessageA(pageWindow(2), IDC_ABOUT_NOTES, EM_GETLINECOUNT, 0, 0), 3);
  LONG_PTR style = GetWindowLongPtrA(GetDlgItem(pageWindow(2), IDC_ABOUT_NOTES), GWL_STYLE);
  EXPECT_FALSE(style & (ES_AUTOHSCROLL | WS_HSCROLL));
  player->closePreferences();

  writeFile(folder + "\\gen_lumo.txt", "");
  player->config();
  GetDlgItemTextA(pageWindow(2), IDC_ABOUT_NOTES, text, sizeof text);
  EXPECT_STREQ(text, "");
  player->closePreferences();

  DeleteFileA((folder + "\\gen_lumo.txt").c_str());
  player->config();
  GetDlgItemTextA(pageWindow(2), IDC_ABOUT_NOTES, text, sizeof text);
  EXPECT_STREQ(text, "gen_lumo.txt not found!");
}

TEST_F(PrefsTest, EveryControlShowsItsTip) {
  openAt(0);
  clickTab(1);
  clickTab(2);
  // Every control on the three pages whose id names a string in the DLL has that string as its
  // tip, whole, and no other control has one.
  std::map<int, std::string> expected;
  for (int page = 0; page < 3; ++page)
    for (HWND c = GetWindow(pageWindow(page), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      char text[1024] = "";
      if (LoadStringA(player->module(), (UINT)GetDlgCtrlID(c), text, sizeof text) > 0)
        expected[GetDlgCtrlID(c)] = text;
    }
  EXPECT_GE(expected.size(), 6u) << "the pages' controls have tips in the string table";
  std::map<int, std::string> found;
  for (const Tip& t : allTips()) {
    EXPECT_EQ(found.count(t.controlId), 0u) << "one tip per control: " << t.controlId;
    found[t.controlId] = t.text;
    EXPECT_EQ(SendMessageA(t.tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 400);
  }
  EXPECT_EQ(found, expected);
}

TEST_F(PrefsTest, RelayOnlyForTheCurrentPage) {
  openAt(1);
  HWND format = pageWindow(1);
  HWND headerField = GetDlgItem(format, IDC_FORMAT_HEADER);
  // Mouse messages go to a static text, which ignores them (an edit field would open its
  // context menu on a right click); the relay only asks whether the window is on the page.
  HWND note = FindWindowExA(format, nullptr, "Static", nullptr);
  ASSERT_NE(note, nullptr);
  countRelays();
  HWND formatTips = tooltipOf(headerField);
  ASSERT_NE(formatTips, nullptr);

  for (UINT m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                 WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MOUSEWHEEL, WM_KEYDOWN})
    mouse(note, m);
  EXPECT_EQ(gRelayedMessages, std::vector<UINT>({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                                 WM_RBUTTONDOWN, WM_RBUTTONUP}));
  mouse(player->window(), WM_MOUSEMOVE);
  mouse(tabs(), WM_MOUSEMOVE);
  EXPECT_EQ(gRelayedMessages.size(), 5u) << "nothing outside the current page";

  clickTab(2);
  HWND notes = GetDlgItem(pageWindow(2), IDC_ABOUT_NOTES);
  countRelays();
  mouse(note, WM_MOUSEMOVE);
  EXPECT_EQ(gRelays[formatTips], 0) << "a hidden page's tips are not relayed";
  mouse(notes, WM_MOUSEMOVE);
  EXPECT_EQ(gRelays[tooltipOf(notes)], 1);

  player->closePreferences();
  countRelays();
  mouse(player->window(), WM_MOUSEMOVE);
  EXPECT_TRUE(gRelayedMessages.empty());
}

TEST_F(PrefsTest, OpeningAndClosingManyTimesLeaksNothing) {
  openAt(0);
  player->closePreferences();
  player->pump();
  DWORD gdiBefore = (DWORD)liveGdiObjects();
  DWORD userBefore = (DWORD)liveWindows();
  size_t tipsBefore = allTips().size();
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    player->config();
    clickTab(round % 3);
    clickTab((round + 1) % 3);
    player->closePreferences();
    player->pump();
    ASSERT_EQ(allTips().size(), tipsBefore);
  }
  EXPECT_EQ((DWORD)liveGdiObjects(), gdiBefore);
  EXPECT_EQ((DWORD)liveWindows(), userBefore);
}

TEST_F(PrefsTest, QuitWithPreferencesOpenLeavesNothingOfThePlugin) {
  openAt(1);
  HWND field = GetDlgItem(pageWindow(1), IDC_FORMAT_HEADER);
  HMODULE module = player->module();
  stop();  // quit and FreeLibrary while the page is still shown
  EXPECT_FALSE(IsWindow(field));
  player->pump(100);
  PostMessageA(player->window(), WM_MOUSEMOVE, 0, 0);
  player->pump(100);  // a relay hook left behind would run unloaded code here
  WNDCLASSA wc;
  EXPECT_FALSE(GetClassInfoA(module, "QevWebLink", &wc)) << "the class is unregistered";
  player->closePreferences();
}
