// Runs the real gen_lumo.dll in the stand-in player: each test gets its own copy of the DLL in
// a fresh folder, so plugin.ini and the module's state start clean.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../../player/standInPlayer.h"

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A new player (a new process: what the last one kept loaded goes) with the test's playlist:
  // one mix with a title and tags, 4,000 seconds long.
  void newPlayer(bool ansiWindow = false);

  // Loads the DLL copy, calls init and runs the player's loop until the plug-in's windows stand
  // (they are made once the loop runs). The hot-key actions are registered by a timer half a
  // second later: only tests of the hot key itself wait for it (waitForHotkey, or
  // waitForHotkeys()); the others mark through the capture message.
  // With untilWindows false it returns right after init, as a player closed at once would.
  void start(bool waitForHotkey = false, bool untilWindows = true);
  // Pumps until the plug-in started last has registered its hot-key actions (bounded); false
  // if it did not.
  bool waitForHotkeys();
  // Pumps until done() holds, at most boundMs milliseconds (a bound for a loaded machine: the
  // wait ends as soon as done() holds); returns done().
  bool pumpUntil(const std::function<bool()>& done, DWORD boundMs = 10000);
  // The player closes as the player does (its main window destroyed, then quit, the DLL kept
  // loaded; with player->unloadAtClose the older order: quit, then FreeLibrary).
  void stop();

  HWND cueWindow() const;
  HWND infoWindow() const;
  HWND cueEditor() const;
  std::string editorText() const;  // UTF-8, as every text of the tests
  std::string fieldText(HWND dialog, int id) const;

  // The user's actions. mark() sends the capture message the hot-key action sends.
  void mark();
  void typeInfo(const std::string& title, const std::string& performer);
  void clickOk();
  void closeInfo();
  void clickCue(int id);
  // Reset, answering Yes if it asks whether to discard an unsaved sheet.
  void resetSheet();
  // Replaces the editor's text as typing would: an undoable change the editor reports.
  void setEditorByHand(const std::string& text);
  // mark, type, OK.
  void commitEntry(const std::string& title, const std::string& performer);
  // Puts the editor's caret before the first piece (UTF-8) in its text, or fails the test.
  void caretOn(const std::string& piece);
  // A key as the Cue editor receives it, with Shift, Ctrl and Alt held or not.
  void key(UINT message, WPARAM vk, bool shift, bool ctrl = false, bool alt = false);

  // The file's bytes, or "<missing>" when it cannot be opened.
  // Files by UTF-8 paths.
  std::string readFile(const std::string& path) const;
  void writeFile(const std::string& path, const std::string& bytes) const;
  std::string iniPath() const { return folder + "\\plugin.ini"; }
  std::string appDataFolder() const { return folder + "_appdata"; }  // the test's %APPDATA%

  std::unique_ptr<StandInPlayer> player;
  std::string folder;   // holds the DLL copy and plugin.ini
  std::string dllPath;
  size_t hotkeysAtStart = 0;  // actions the player held when the plug-in was started last
  int restarts = 0;           // fresh copies of the DLL loaded after the first
};

// What Automatic saving puts in front of a sheet that is not ASCII.
const std::string kBom = "\xEF\xBB\xBF";
const std::string kMarker = "REM COMMENT \"LumoMarker\"\r\n";

// The tracks of a sheet, "number:title@time " each (INDEX 01's time), or with withPerformer
// "number:performer|title@time ".
std::string tracksOf(const std::string& sheet, bool withPerformer = false);

// The sequence of events after position first, for comparing with an expected sequence.
std::vector<std::string> eventsFrom(const StandInPlayer& player, size_t first);

// The first descendant of root with this control id.
HWND findDescendant(HWND root, int controlId);

// Live GDI objects of the process. GetGuiResources counts them on Windows; Wine's is a stub
// that answers 0, so there every handle index is probed (Wine takes a bare index as handle).
int liveGdiObjects();

// Windows of this thread, top-level and child: the USER objects a plug-in could leave behind.
int liveWindows();

// A window's procedure as the window's own character form reads it (the other form gives a
// thunk for a procedure of the other kind).
WNDPROC windowProcOf(HWND window);

// Folder of the running test program.
std::string programFolder();
