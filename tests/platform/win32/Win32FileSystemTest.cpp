// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "FileOutcome.h"
#include "TestFiles.h"
#include "Win32TestSupport.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderLock.h"
#include "recording/RecordFile.h"

namespace tarnwell::testing {
namespace {

// The folders made by the host for this test (see test-disks.sh), where it could mount them.
std::optional<std::string> TestDisk(const std::string& name) {
  char unix[1024];
  const DWORD n = ::GetEnvironmentVariableA("TARNWELL_TEST_DISKS", unix, sizeof unix);
  if (n == 0 || n >= sizeof unix) return std::nullopt;
  const std::string disk = WindowsPathOf(std::string(unix) + "/" + name);
  if (!ReadBytes(disk + "\\mounted")) return std::nullopt;
  return disk;
}

// Takes all free space of the disk `folder` is on with one file.
std::string Fill(const std::string& folder) {
  const std::string filler = folder + "\\filler";
  const UniqueHandle file(::CreateFileW(Widen(filler).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  const std::string block(4096, 'f');
  DWORD n = 0;
  while (::WriteFile(file.Get(), block.data(), 4096, &n, nullptr) && n == 4096) {
  }
  return filler;
}

TEST(Win32FileSystem, WholeFilesKeepEveryByteAndOpenRecordsStayInPlace) {
  TempFolder temp;
  Win32FileSystem files(temp.Path() + "\\\\");
  const std::string ini = temp / "config.ini", rec = temp / "Kayıt 1.txt";
  const std::string bytes("1'Mode\r\n\xfd\xdd\0end", 14);
  ASSERT_TRUE(files.WriteWhole(ini, bytes));
  EXPECT_EQ(std::tuple(files.ReadAll(ini), files.ReadTail(ini, 5), files.ReadTail(ini, 99),
                       files.DataFolder() + files.Separator(), files.ProgramFolder()),
            std::tuple(bytes, bytes.substr(9), bytes, temp / "", temp.Path()));
  auto file = files.OpenAppend(rec);
  ASSERT_TRUE(file && file->Write("1\r\n"));
  // Nobody removes or moves the record file or its folder from under the lines.
  const std::wstring wide = Widen(rec), moved = Widen(temp.Path() + " moved");
  EXPECT_EQ(std::tuple(::DeleteFileW(wide.c_str()), ::MoveFileW(wide.c_str(), L"x.txt"),
                       ::MoveFileW(Widen(temp.Path()).c_str(), moved.c_str())),
            std::tuple(FALSE, FALSE, FALSE));
  ASSERT_TRUE(file->Write("2\r\n") && file->Sync() && BackgroundSyncOf(*file) == true);
  ASSERT_TRUE(file->Reopen() && file->Write("3\r\n"));
  EXPECT_EQ(files.ReadAll(rec), "1\r\n2\r\n3\r\n");
  if (UnderWine()) {
    // Removed by Unix means, the lines have no file left to reach, until it is opened again.
    RemoveAll(rec);
    EXPECT_EQ(std::tuple(file->Sync(), BackgroundSyncOf(*file), file->Write("4\r\n")),
              std::tuple(false, false, false));
    ASSERT_TRUE(file->Reopen() && file->Write("4\r\n"));
    EXPECT_EQ(files.ReadAll(rec), "4\r\n");
  }
  file.reset();
  EXPECT_TRUE(::DeleteFileW(wide.c_str()));
}

// Each operation of the adapter in a data folder, then what is in the folder.
std::string Outcome(const std::string& dir, const std::string& recordName) {
  Win32FileSystem files(dir);
  const std::string operations = FileOperationsOutcome(files, dir, recordName);
  const Win32FolderLock first(dir), second(dir);
  return operations + " | lock " + (first.Held() ? "1" : "0") + (second.Held() ? "1" : "0") + " |" +
         Listing(dir);
}

// Makes in the data folder `d` what the steps of a row of golden/folders.txt name; false where
// this system cannot.
bool Make(const std::string& steps, const std::string& d, const std::string& away) {
  for (const std::string& step : Split(steps, "; ")) {
    const std::string verb = step.substr(0, step.find(' '));
    const std::string what = verb.size() < step.size() ? step.substr(verb.size() + 1) : "";
    const auto mark = what.find_first_of("=>");
    const std::string at = d + "\\" + what.substr(0, mark);
    const std::string to = mark == std::string::npos ? "" : what.substr(mark + 1);
    const std::string target = to == "." ? away : away + "\\" + to;
    const std::map<std::string, std::function<bool()>> make = {
        {"file", [&] { return WriteBytes(at, to); }},
        {"folder", [&] { return MakeFolder(at); }},
        {"read-only", [&] { return MakeReadOnly(at), true; }},
        {"link", [&] { return PlantLink(at, target); }},
        {"folder-link", [&] { return PlantLink(at, target, true); }},
        {"shown-as-link", [&] { return ShownAsLink(at); }},
        {"fill", [&] { return !Fill(d).empty(); }}};
    const auto made = make.find(verb);
    EXPECT_NE(made, make.end()) << "no step " << step;
    if (made == make.end() || !made->second()) return false;
  }
  return true;
}

// Real folders, links, devices and read-only files made by each row of golden/folders.txt; no
// planted link reaches the folder away.
TEST(Win32FileSystem, EachKindOfFolderGivesItsWholeOutcome) {
  const auto golden =
      Split(ReadFile(std::string(TARNWELL_TESTS_DIR) + "/platform/win32/golden/folders.txt"), "\n");
  ASSERT_GT(golden.size(), 1u);
  std::string notMade;
  for (std::size_t i = 0; i + 1 < golden.size(); ++i) {
    const std::string& row = golden[i];
    if (row.empty() || row[0] == '#' || row.starts_with("= ")) continue;
    std::string outcome = golden[i + 1].substr(2);
    if (UnderWine() && i + 2 < golden.size() && golden[i + 2].starts_with("= under Wine: "))
      outcome = golden[i + 2].substr(14);
    const std::string steps = row.substr(0, row.find(" | record "));
    std::optional<std::string> under = std::string();
    if (steps.ends_with("fill")) under = TestDisk("full");
    if (!under) {
      notMade += "; " + row + " (no disk mounted for the test)";
      continue;
    }
    TempFolder temp(*under);
    const std::string dir = temp / "data", away = temp / "away";
    ASSERT_TRUE(MakeFolder(dir) && MakeFolder(away) && WriteBytes(away + "\\kept", "old")) << row;
    if (!Make(steps, dir, away)) {
      notMade += "; " + row;
      continue;
    }
    EXPECT_EQ(Outcome(dir, row.substr(steps.size() + 10)), outcome) << row;
    EXPECT_EQ(Listing(away), " kept=old") << row;
  }
  if (const auto disk = TestDisk("readonly")) {
    EXPECT_EQ(Outcome(*disk, "rec.txt"),
              "ini 0 old | Log 00 | rec  - | lock 11 | config.ini=old mounted=");
  } else {
    notMade += "; a read-only disk (no disk mounted for the test)";
  }
  if (!notMade.empty())
    std::cout << "[  NOTE    ] cases this system cannot make" << notMade << "\n";
}

// A write that fills the disk part way is taken back whole, and the record file keeps the lines
// it could not write, in order, until the disk has room again.
TEST(Win32FileSystem, AFullDiskTakesBackAPartWrittenLineAndRecordLinesWait) {
  const auto disk = TestDisk("full");
  if (!disk) GTEST_SKIP() << "no disk mounted for the test (see test-disks.sh)";
  TempFolder temp(*disk);
  Win32FileSystem files(temp.Path());
  const std::string rec = temp / "rec.txt";
  auto file = files.OpenAppend(rec);
  ASSERT_TRUE(file && file->Write("1\r\n"));
  const std::string filler = Fill(temp.Path());
  {
    // Some room, less than the next write needs.
    const UniqueHandle f(
        ::CreateFileW(Widen(filler).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER end{};
    ASSERT_TRUE(::GetFileSizeEx(f.Get(), &end) && end.QuadPart > 16384);
    end.QuadPart -= 16384;
    ASSERT_TRUE(::SetFilePointerEx(f.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(f.Get()));
  }
  EXPECT_FALSE(file->Write(std::string(65536, 'x') + "\r\n"));
  EXPECT_EQ(files.ReadAll(rec), "1\r\n");
  file.reset();

  Win32Clock clock;
  RecordFile record(files, clock);
  std::vector<RecordFile::Event> events;
  record.SetListener([&](RecordFile::Event e, std::size_t) { events.push_back(e); });
  ASSERT_TRUE(record.Open(temp.Path(), rec));
  for (int i = 2; i <= 2000; ++i)
    record.Append(std::to_string(i) + "\t" + std::string(40, 'v') + "\r\n");
  EXPECT_GT(record.Pending(), 0u);
  ASSERT_TRUE(::DeleteFileW(Widen(filler).c_str()));
  record.Flush();
  record.Close(true);
  const auto lines = Split(files.ReadAll(rec).value_or(""), "\r\n");
  ASSERT_EQ(lines.size(), 2000u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].substr(0, lines[i].find('\t')), std::to_string(i + 1));
  }
  EXPECT_EQ(events, std::vector({RecordFile::Event::kWriteFailed, RecordFile::Event::kRecovered}));
}

}  // namespace
}  // namespace tarnwell::testing
