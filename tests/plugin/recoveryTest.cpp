// The recovery copy: a sheet survives a killed player, a quit and a damaged copy; a saved or
// reset sheet leaves nothing behind.
#include <windows.h>


#include "pluginFixture.h"
#include "../../res/resource.h"

namespace {

const char kCopyName[] = "\\lumo_unsaved.cue";

int count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

class RecoveryTest : public PluginTest {
 protected:
  std::string copyPath() const { return folder + kCopyName; }

  // Runs the stand-in player program on this test's DLL copy with steps (see player/main.cpp).
  // With killAfterMs >= 0 it is killed that long after it prints STEPS (it is up), or, with
  // killAtReady, as soon as it prints READY and the recovery copy holds killWhenCopyHolds;
  // with killAtCopyBytes, as soon as the copy is that large, whatever it is doing (its size is
  // read without opening it, which would stand in the way of its replacement).
  // With keepRunning, a player that printed READY is left running (until killHeldPlayer).
  // Returns what it printed.
  std::string runPlayer(const std::string& steps, bool killAtReady = false, int killAfterMs = -1,
                        const std::string& killWhenCopyHolds = "", bool keepRunning = false,
                        DWORD killAtCopyBytes = 0) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::string command = "\"" + programFolder() + "\\standin_player.exe\" \"" + dllPath + "\" " + steps;
    bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  folder.c_str(), &startup, &process) != FALSE;
    CloseHandle(writeEnd);
    EXPECT_TRUE(started) << command;
    if (!started) {
      CloseHandle(readEnd);
      return "";
    }
    std::string output;
    DWORD startedAt = GetTickCount();
    DWORD stepsAt = 0;
    for (;;) {
      DWORD available = 0;
      if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) break;  // exited
      if (available > 0) {
        std::string chunk(available, '\0');
        DWORD got = 0;
        ReadFile(readEnd, &chunk[0], available, &got, nullptr);
        output.append(chunk, 0, got);
      }
      bool ready = killAtReady && output.find("READY") != std::string::npos &&
                   (killWhenCopyHolds.empty() || readFile(copyPath()).find(killWhenCopyHolds) != std::string::npos);
      WIN32_FILE_ATTRIBUTE_DATA copy = {};
      if (killAtCopyBytes > 0 && GetFileAttributesExA(copyPath().c_str(), GetFileExInfoStandard, &copy))
        ready = copy.nFileSizeLow >= killAtCopyBytes;
      if (!stepsAt && output.find("STEPS") != std::string::npos) stepsAt = GetTickCount();
      bool due = killAfterMs >= 0 && stepsAt && GetTickCount() - stepsAt >= (DWORD)killAfterMs;
      if (ready && keepRunning) {
        held = process;
        CloseHandle(readEnd);
        std::string clean;
        for (char c : output)
          if (c != '\r') clean += c;
        return clean;
      }
      if (ready || due) {
        TerminateProcess(process.hProcess, 9);  // as a crash ends it: no quit
        break;
      }
      if (GetTickCount() - startedAt > 60000) {
        ADD_FAILURE() << "the player did not finish: " << output;
        TerminateProcess(process.hProcess, 9);
        break;
      }
      if (available == 0) Sleep(10);
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(readEnd);
    std::string clean;
    for (char c : output)
      if (c != '\r') clean += c;
    return clean;
  }

  void killHeldPlayer() {
    if (!held.hProcess) return;
    TerminateProcess(held.hProcess, 9);
    WaitForSingleObject(held.hProcess, 10000);
    CloseHandle(held.hProcess);
    CloseHandle(held.hThread);
    held = PROCESS_INFORMATION();
  }
  void TearDown() override {
    killHeldPlayer();
    PluginTest::TearDown();
  }
  PROCESS_INFORMATION held = {};

  static std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
  }

  // The sheet a player printed with --print, and whether its Cue window was shown.
  static std::string printedSheet(const std::string& output, bool* visible = nullptr) {
    size_t begin = output.find("SHEET-BEGIN\n");
    size_t end = output.find("\nSHEET-END", begin);
    if (visible) *visible = output.find("CUE visible=1") != std::string::npos;
    if (begin == std::string::npos || end == std::string::npos) return "<none>";
    return output.substr(begin + 12, end - begin - 12);
  }
};

}  // namespace

TEST_F(RecoveryTest, KilledPlayerLosesAtMostTheEntryBeingTyped) {
  struct {
    const char* name;
    std::string steps;  // before the kill
    std::string killWhenCopyHolds;
    int entries;        // entries the sheet holds when it comes back
    bool handEditBack;  // whether the hand edit came back
  } cases[] = {
      {"no entry", "--hold", "", 0, false},
      {"one entry", "--commits 1 --print --hold", "", 1, false},
      {"three entries", "--commits 3 --print --hold", "", 3, false},
      {"hand edit older than 2 s", "--commits 2 --edit \"REM late\" --hold", "REM late", 2, true},
      {"hand edit not yet 2 s old", "--commits 2 --edit \"REM fresh\" --hold", "", 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(copyPath().c_str());
    std::string before = runPlayer(c.steps, true, -1, c.killWhenCopyHolds);
    ASSERT_NE(before.find("READY"), std::string::npos) << before;
    bool visible = false;
    std::string after = runPlayer("--print --commits 1 --print");
    size_t second = after.find("CUE visible", after.find("CUE visible") + 1);
    std::string restored = printedSheet(after.substr(0, second), &visible);
    EXPECT_EQ(visible, c.entries > 0) << "the Cue window shows a sheet that came back";
    EXPECT_EQ(count(restored, "INDEX 01"), c.entries) << restored;
    if (c.entries > 0 && before.find("SHEET-BEGIN") != std::string::npos) {
      EXPECT_EQ(restored, printedSheet(before)) << "byte for byte";
    }
    EXPECT_EQ(restored.find("REM") != std::string::npos, c.handEditBack) << restored;
    ASSERT_NE(second, std::string::npos);
    std::string next = printedSheet(after.substr(second));
    EXPECT_EQ(count(next, "PERFORMER \"DJ Example\""), 1) << "one header: " << next;
    EXPECT_NE(next.find(c.entries < 9 ? "TRACK 0" + std::to_string(c.entries + 1) : "?"), std::string::npos)
        << "the numbering goes on: " << next;
  }
}

TEST_F(RecoveryTest, KillWhileTheCopyIsReplacedLeavesAWholeCopy) {
  // The player commits 60 entries (about 90 bytes each), its copy replaced after each; it is
  // killed as soon as the copy has grown to a size, while the later entries are being written.
  const size_t kHeaderBytesMax = 200;  // the copy's REM lines before the sheet
  std::string lock = folder + "\\lumo_unsaved.lock";
  for (DWORD size : {600, 2000, 3600}) {
    SCOPED_TRACE(size);
    // The lock of the player before goes with its process, but not always at once.
    ASSERT_TRUE(pumpUntil([&] { return GetFileAttributesA(lock.c_str()) == INVALID_FILE_ATTRIBUTES; }));
    runPlayer("--commits 60 --hold", false, -1, "", false, size);
    ASSERT_TRUE(pumpUntil([&] { return GetFileAttributesA(lock.c_str()) == INVALID_FILE_ATTRIBUTES; }));
    std::string restored = printedSheet(runPlayer("--print"));
    int entries = count(restored, "INDEX 01");
    // The printed sheet's lines end in LF alone, the copy's in CR LF.
    EXPECT_GE(restored.size() + count(restored, "\n") + kHeaderBytesMax, size) << "at least what the copy held at the kill";
    EXPECT_LT(entries, 60) << "killed while entries were being written";
    EXPECT_EQ(count(restored, "TRACK "), entries) << "every entry whole";
    EXPECT_EQ(restored.rfind("INDEX 01"), restored.rfind('\n', restored.size() - 2) + 5) << restored;
    EXPECT_EQ(GetFileAttributesA((folder + "\\lumo_unsaved-damaged.cue").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the copy was never found damaged";
    DeleteFileA(copyPath().c_str());
  }
}

TEST_F(RecoveryTest, QuitThenStartBringsTheSheetBackUnlessSavedOrReset) {
  player->playlist[0].path = folder + "\\mix.mp3";
  struct {
    const char* name;
    const char* ini;
    int action;  // 0 none, 1 Save, 2 Reset
    bool back;
  } cases[] = {
      {"unsaved", "", 0, true},
      {"capture off", "[LUMO]\r\nenabled=0\r\n", 0, true},
      {"saved", "", 1, false},
      {"reset", "", 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(iniPath(), c.ini);
    start();
    if (std::string(c.ini).empty()) {
      player->positionMs = 1000;
      commitEntry("One", "P");
      player->positionMs = 61000;
      commitEntry("Two", "P");
    } else {
      setEditorByHand("REM a sheet typed with capture off");
    }
    std::string sheet = editorText();
    if (c.action == 1) clickCue(IDC_CUE_SAVE);
    if (c.action == 2) resetSheet();
    stop();
    EXPECT_EQ(GetFileAttributesA(copyPath().c_str()) != INVALID_FILE_ATTRIBUTES, c.back);
    start(false);
    EXPECT_EQ(editorText(), c.back ? sheet : "");
    EXPECT_FALSE(IsWindowVisible(cueWindow())) << "not before the player is up";
    ASSERT_TRUE(waitForHotkeys());  // the player is up: the timer that registers shows the sheet
    EXPECT_EQ(IsWindowVisible(cueWindow()) != FALSE, c.back);
    stop();
    DeleteFileA(copyPath().c_str());
  }
}

TEST_F(RecoveryTest, AfterACrashOfSeveralPlayersTheCopyOfTheCurrentEntryComesBack) {
  // Three copies nobody holds: the current entry's is the oldest.
  struct {
    std::string path;
    const char* audio;
    const char* sheet;
    DWORD ageMinutes;
  } copies[] = {
      {copyPath(), "D:\\Music\\Live.2004\\set1.mp3", "REM the playing mix", 30},
      {folder + "\\lumo_unsaved-2.cue", "D:\\other.mp3", "REM the newest", 1},
      {appDataFolder() + "\\LumoMarker\\lumo_unsaved.cue", "D:\\third.mp3", "REM the middle", 10},
  };
  CreateDirectoryA((appDataFolder() + "\\LumoMarker").c_str(), nullptr);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  for (const auto& c : copies) {
    std::string text = c.sheet;
    writeFile(c.path, kBom + "REM LUMOMARKER-UNSAVED 2 " + std::to_string(text.size()) + "\r\nREM LUMOMARKER-AUDIO " +
                          c.audio + "\r\n" + text);
    ULARGE_INTEGER at = {{now.dwLowDateTime, now.dwHighDateTime}};
    at.QuadPart -= (ULONGLONG)c.ageMinutes * 60 * 10000000;
    FILETIME written = {at.LowPart, at.HighPart};
    HANDLE file = CreateFileA(c.path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
  }
  // Then the newest of the others, one at each start, each start saying how many more wait.
  struct {
    const char* back;
    const char* waiting;  // the box's first words; empty: no box
  } starts[] = {{"REM the playing mix", "2 more unsaved cue sheets wait"},
                {"REM the newest", "1 more unsaved cue sheet waits"},
                {"REM the middle", ""}};
  for (const auto& s : starts) {
    SCOPED_TRACE(s.back);
    player->messageBoxes.clear();
    start(true);
    EXPECT_EQ(editorText(), s.back);
    if (s.waiting[0]) {
      ASSERT_EQ(player->messageBoxes.size(), 1u);
      EXPECT_EQ(player->messageBoxes[0].text.find(s.waiting), 0u) << player->messageBoxes[0].text;
    } else {
      EXPECT_TRUE(player->messageBoxes.empty());
    }
    resetSheet();
    stop();
  }
}

TEST_F(RecoveryTest, HandEditsReachTheCopy) {
  start();
  commitEntry("One", "P");
  setEditorByHand("REM by hand");
  EXPECT_EQ(readFile(copyPath()).find("REM by hand"), std::string::npos);
  // The copy follows two seconds after the last edit; the limit leaves room for a loaded machine.
  const DWORD kWithinMs = 15000;
  EXPECT_TRUE(pumpUntil([&] { return readFile(copyPath()).find("REM by hand") != std::string::npos; }, kWithinMs));
  std::string copy = readFile(copyPath());
  EXPECT_EQ(copy.substr(copy.find("\r\n", copy.find("AUDIO")) + 2), editorText()) << "the text unchanged";
  EXPECT_EQ(copy.compare(0, 28, "\xEF\xBB\xBFREM LUMOMARKER-UNSAVED 2 "), 0) << copy;
  setEditorByHand("");
  EXPECT_TRUE(pumpUntil([&] { return readFile(copyPath()) == "<missing>"; }, kWithinMs))
      << "an empty sheet leaves no copy";
}

TEST_F(RecoveryTest, DamagedCopyIsKeptAsideAndNeverRestored) {
  std::string header = "REM LUMOMARKER-UNSAVED 3 40\r\nREM LUMOMARKER-AUDIO C:\\a.mp3\r\n";
  std::string aside = folder + "\\lumo_unsaved-damaged.cue";
  struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"cut in a line", header + "TRACK 01 AUDIO\r\n    INDEX 01 00:0"},
      {"0xFF bytes", std::string(300, '\xFF')},
      {"NUL bytes", header + "TRACK 01 AUDIO\r\n" + std::string(8, '\0') + "INDEX 01 00:00:00\r\n"},
      {"20 MB", header + std::string(20 * 1024 * 1024, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    player->messageBoxes.clear();
    writeFile(copyPath(), c.bytes);
    start();
    EXPECT_EQ(editorText(), "");
    EXPECT_FALSE(IsWindowVisible(cueWindow()));
    EXPECT_EQ(readFile(aside), c.bytes) << "kept whole, aside";
    ASSERT_TRUE(pumpUntil([&] { return !player->messageBoxes.empty(); })) << "the user hears where it went";
    EXPECT_NE(player->messageBoxes[0].text.find("could not be read. It was kept, unchanged, as\r\n" + aside),
              std::string::npos) << player->messageBoxes[0].text;
    commitEntry("Goes on", "P");
    // The copy is written on a thread of its own.
    EXPECT_TRUE(pumpUntil([&] { return readFile(copyPath()).find("Goes on") != std::string::npos; }));
    EXPECT_EQ(player->messageBoxes.size(), 1u);
    resetSheet();
    stop();
    DeleteFileA(aside.c_str());
  }
}

TEST_F(RecoveryTest, ACopyThatCannotBeReadNowIsLeftForTheNextStart) {
  start();
  player->positionMs = 1000;
  commitEntry("Kept", "P");
  SendMessageA(cueEditor(), EM_SETSEL, editorText().size(), editorText().size());
  SendMessageA(cueEditor(), EM_REPLACESEL, TRUE, (LPARAM) "\r\nREM pasted \a\x1B\f into a title");
  std::string sheet = editorText();
  ASSERT_TRUE(pumpUntil([&] { return readFile(copyPath()).find("pasted") != std::string::npos; }, 10000));
  runPlayer("--hold", true);  // stands in for a crash: the copy stays, nobody holds it
  stop();
  EXPECT_NE(readFile(copyPath()), "<missing>") << "a player deletes only its own copy";

  // A scanner holds the copy without read sharing: nothing comes back, nothing is moved aside.
  HANDLE scanner = CreateFileA(copyPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
  start();
  EXPECT_EQ(editorText(), "");
  EXPECT_TRUE(player->messageBoxes.empty());
  stop();
  CloseHandle(scanner);
  EXPECT_EQ(readFile(folder + "\\lumo_unsaved-damaged.cue"), "<missing>");
  start();
  EXPECT_EQ(editorText(), sheet) << "back whole, control characters and all";
}

TEST_F(RecoveryTest, TwoPlayersOnOneFolderKeepTheirOwnCopies) {
  // Player A (another process) marks and keeps running; player B starts beside it.
  std::string a = runPlayer("--commits 2 --print --hold", true, -1, "", true);
  std::string sheetA = withCrLf(printedSheet(a));
  ASSERT_NE(sheetA, "<none>") << a;
  ASSERT_TRUE(pumpUntil([&] { return readFile(copyPath()).find("INDEX 01") != std::string::npos; }));
  start();
  EXPECT_EQ(editorText(), "") << "A's live sheet is not B's";
  commitEntry("B's own", "P");
  std::string copyB = folder + "\\lumo_unsaved-2.cue";
  EXPECT_TRUE(pumpUntil([&] { return readFile(copyB).find("B's own") != std::string::npos; }));
  resetSheet();
  stop();
  EXPECT_EQ(readFile(copyB), "<missing>") << "B deleted its own copy";
  EXPECT_NE(readFile(copyPath()).find(sheetA), std::string::npos) << "and never A's";
  killHeldPlayer();
  start();
  EXPECT_EQ(editorText(), sheetA) << "A's sheet comes back once no player holds it";
}

TEST_F(RecoveryTest, CopiesGoToTheApplicationDataFolderWhenThePluginsFolderRefusesThem) {
  std::string appData = appDataFolder();
  std::string userCopy = appData + "\\LumoMarker\\lumo_unsaved.cue";
  // A folder where the temporary file would go, as a read-only folder refuses it.
  std::string block = folder + "\\lumo_unsaved.tmp";
  std::string userBlock = appData + "\\LumoMarker\\lumo_unsaved.tmp";
  CreateDirectoryA(block.c_str(), nullptr);
  start();
  for (int i = 0; i < 3; ++i) commitEntry("Still", "P");
  EXPECT_EQ(count(editorText(), "Still"), 3);
  EXPECT_TRUE(pumpUntil([&] { return count(readFile(userCopy), "Still") == 3; })) << readFile(userCopy);
  EXPECT_TRUE(player->messageBoxes.empty()) << "nothing to say while a copy is kept: "
                                            << (player->messageBoxes.empty() ? "" : player->messageBoxes[0].text);

  // Neither folder takes it: said once, not at every change; capture goes on.
  CreateDirectoryA(userBlock.c_str(), nullptr);
  commitEntry("Unkept", "P");
  EXPECT_TRUE(pumpUntil([&] { return player->messageBoxes.size() == 1; }));
  commitEntry("Unkept", "P");
  player->pump(300);
  ASSERT_EQ(player->messageBoxes.size(), 1u);
  EXPECT_NE(player->messageBoxes[0].text.find("no recovery copy could be written"), std::string::npos);
  EXPECT_EQ(count(editorText(), "Unkept"), 2);
  EXPECT_EQ(count(readFile(userCopy), "Still"), 3) << "the last copy written stays while no newer one stands";
  // And tried again at the next change; the copy that stands now is the only one.
  RemoveDirectoryA(block.c_str());
  commitEntry("Kept again", "P");
  EXPECT_TRUE(pumpUntil([&] { return readFile(copyPath()).find("Kept again") != std::string::npos; }));
  EXPECT_TRUE(pumpUntil([&] { return readFile(userCopy) == "<missing>"; }));
  stop();
  // At start both folders are looked in.
  RemoveDirectoryA(userBlock.c_str());
  MoveFileA(copyPath().c_str(), userCopy.c_str());
  start();
  EXPECT_NE(editorText().find("Kept again"), std::string::npos);
  resetSheet();
  stop();
}
