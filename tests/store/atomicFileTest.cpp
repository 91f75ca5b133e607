// Replacing a file in one step: a crash after any step leaves the old content or the new one
// whole, and a failure leaves the old file and no temporary file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "../../store/atomicFile.h"

namespace {

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "lumo_atomic_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    path = folder + "\\sheet.cue";
    tempPath = folder + "\\sheet.tmp";
    backup = path + ".bak";
    removeFiles();  // a killed run under a reused process id may have left them
  }
  void TearDown() override {
    removeFiles();
    RemoveDirectoryA(folder.c_str());
  }
  void removeFiles() const {
    for (const std::string& f : {path, tempPath, backup}) DeleteFileA(f.c_str());
  }
  static std::string read(const std::string& file) {
    FILE* f = fopen(file.c_str(), "rb");
    if (!f) return "<missing>";
    std::string bytes;
    char chunk[256];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
    fclose(f);
    return bytes;
  }
  static void write(const std::string& file, const std::string& bytes) {
    FILE* f = fopen(file.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  std::string folder, path, tempPath, backup;
};

}  // namespace

TEST_F(AtomicFileTest, CrashAfterEveryStepLeavesOldOrNewWhole) {
  const std::string kOld = "old sheet\r\n";
  const std::string kNew = std::string(100000, 'n') + "\r\n";
  for (int how = 0; how < 4; ++how) {
    bool withBackup = how & 1;
    bool keepIdentity = how & 2;
    for (int step = kReplaceCreateTemp; step <= kReplaceAllSteps; ++step) {
      SCOPED_TRACE(std::string(withBackup ? "with backup, " : "") + (keepIdentity ? "ReplaceFile, " : "") +
                   "after step " + std::to_string(step));
      write(path, kOld);
      DeleteFileA(backup.c_str());
      const char* backupPath = withBackup ? backup.c_str() : nullptr;
      ASSERT_EQ(replaceFileUpTo(path.c_str(), tempPath.c_str(), kNew.data(), kNew.size(), backupPath, step, keepIdentity), 0u);
      EXPECT_EQ(read(path), step == kReplaceAllSteps ? kNew : kOld);
      // A backup only with a replacement that happened.
      EXPECT_EQ(read(backup), withBackup && step == kReplaceAllSteps ? kOld : "<missing>");
      // The next write after the crash finishes the job over whatever was left.
      ASSERT_EQ(replaceFile(path.c_str(), tempPath.c_str(), kNew.data(), kNew.size(), nullptr), 0u);
      EXPECT_EQ(read(path), kNew);
      EXPECT_EQ(read(tempPath), "<missing>");
    }
  }
}

TEST_F(AtomicFileTest, FailureLeavesTheOldFileAndNoTemporaryFile) {
  write(path, "old");
  write(backup, "older");
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_NE(replaceFile(path.c_str(), tempPath.c_str(), "new", 3, nullptr), 0u);
  EXPECT_NE(replaceFile(path.c_str(), tempPath.c_str(), "new", 3, backup.c_str()), 0u);
  EXPECT_NE(replaceUsersFile(path.c_str(), tempPath.c_str(), "new", 3, backup.c_str()), 0u);
  CloseHandle(held);
  EXPECT_EQ(read(path), "old");
  EXPECT_EQ(read(backup), "older");
  EXPECT_EQ(read(tempPath), "<missing>");

  std::string missing = folder + "\\no such folder\\sheet.cue";
  EXPECT_EQ(replaceFile(missing.c_str(), (missing + ".tmp").c_str(), "new", 3, nullptr), (DWORD)ERROR_PATH_NOT_FOUND);

  EXPECT_EQ(replaceFile(path.c_str(), tempPath.c_str(), "new", 3, backup.c_str()), 0u);
  EXPECT_EQ(read(path), "new");
  EXPECT_EQ(read(backup), "old");
}

TEST_F(AtomicFileTest, AUsersFileKeepsItsAttributes) {
  write(path, "old");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_EQ(replaceUsersFile(path.c_str(), tempPath.c_str(), "new", 3, backup.c_str()), 0u);
  EXPECT_EQ(read(path), "new");
  EXPECT_EQ(read(backup), "old");
  EXPECT_EQ(read(tempPath), "<missing>");
  DWORD attributes = GetFileAttributesA(path.c_str());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(TemporaryName, StaysInTheFolderNoLongerThanTheFile) {
  struct {
    std::string path;
    char tag;
    const char* expected;  // nullptr: refused
  } cases[] = {
      {"C:\\mixes\\set.cue", '1', "C:\\mixes\\set.c~1"},
      {"Z:/mixes/set.cue", 'a', "Z:/mixes/set.c~a"},
      {"C:\\m\\x.c~1", '1', "C:\\m\\x.c#1"},  // never the file's own name
      {"C:\\m\\ab", '2', "C:\\m\\ab~2"},       // too short to keep its length
      {"C:\\m\\set\xE6\x9D\xB1", '1', "C:\\m\\set~1"},  // whole characters only
      {"C:\\m\\", '1', nullptr},
  };
  char temp[260];
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(temporaryNameBeside(c.path.c_str(), c.tag, temp, sizeof temp), c.expected != nullptr);
    EXPECT_STREQ(temp, c.expected ? c.expected : "");
  }
  EXPECT_FALSE(temporaryNameBeside("C:\\mixes\\set.cue", '1', temp, 16)) << "a buffer too small for it";
  EXPECT_STREQ(temp, "");
  // Every path up to the longest one the system takes has a temporary name that fits.
  for (size_t length = 250; length <= 259; ++length) {
    std::string path = "C:\\" + std::string(length - 3 - 8, 'd') + "\\set.cue";
    ASSERT_EQ(path.size(), length);
    ASSERT_TRUE(temporaryNameBeside(path.c_str(), '1', temp, sizeof temp)) << length;
    EXPECT_EQ(std::string(temp).size(), length);
  }
}
