// The recent-files list: its captions, its order and limits, and keeping it in
// "mru.ini" or in the settings store.
#include "kit/settings/mru_file_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "settings/registry.h"
#include "settings/settings_test_support.h"
#include "support/recorders.h"

namespace serenitap::testing {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;
const std::string kRecent = "Software\\Serenitap\\Recent";

// The number of the failure f raises; 0 when it raises none.
std::int32_t FailureNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeFailure& e) {
    return e.Number();
  }
  return 0;
}

TEST(MRUMenuCaption, ShortensLongPathsToTheirEnd) {
  const std::string k31(31, 'n'), k37(37, 'n'), k40(40, 'n');
  const std::string accents = "éééééééééééééééééééééééééééééé";  // 30 characters, 60 bytes
  const std::tuple<std::int32_t, std::string, std::string> cases[] = {
      {10, "", "&10)  "},
      {3, "C:\\ProjectDocuments\\Report of March.docx", "&3)  ...\\Report of March.docx"},
      {2, "C:\\" + std::string(30, 'x'), "&2)  C:\\" + std::string(30, 'x')},  // 33, but the tail fits
      {4, k40, "&4)  " + k40},                                                 // no separator
      {5, "C:\\" + k37, "&5)  ...\\" + k37},                                   // the name alone is longer
      {6, "C:\\a\\" + k40, "&6)  ...\\a\\" + k40},                             // none fits: the leftmost
      {7, "C:\\a\\" + k31, "&7)  ...\\" + k31},                                // 33 from the first separator
      {2, "/home/someone/Documents/notes/2024/summary.txt", "&2)  .../Documents/notes/2024/summary.txt"},
      {1, "C:\\" + accents, "&1)  C:\\" + accents}};  // characters, not bytes
  for (const auto& [index, path, caption] : cases)
    EXPECT_EQ(cMRUFileList::MenuCaptionText(index, path), caption) << path;
}

// The list works in the test's folder, with a store of its own.
class MRUFileListTest : public StoreTest {
 protected:
  void SetUp() override {
    fs::current_path(temp_.Folder().Path());
    cr_.ClassKey(HKCU);
    cr_.SectionKey(kRecent);
  }
  void TearDown() override { fs::current_path(previous_folder_); }
  static std::string File(const std::string& name) { return (fs::current_path() / name).string(); }
  // A list of max entries holding the files of these names, made now, the first the oldest.
  static cMRUFileList ListOf(std::int32_t max, const Paths& names) {
    cMRUFileList list;
    list.MaxFileCount(max);
    for (const auto& name : names) {
      WriteText(name, "x");
      list.AddFile(File(name));
    }
    return list;
  }
  static Paths Entries(const cMRUFileList& list) {
    Paths out;
    for (std::int32_t i = 1; i <= list.FileCount(); ++i) out.push_back(list.FILE(i));
    return out;
  }
  fs::path previous_folder_ = fs::current_path();
  MessageBoxRecorder boxes_;
  ReportRecorder reports_;
  cRegistry cr_;
};

TEST_F(MRUFileListTest, AddingPutsAFileOnTopAndDropsTheOldestBeyondTheMaximum) {
  // "B" is "b" where names ignore letter case; a name the list file could not keep is not taken.
  cMRUFileList list = ListOf(3, {"a", "b", "c", "B", "line\nbreak", "d"});
  EXPECT_EQ(Entries(list), (Paths{File("d"), File("B"), File("c")}));
  list.MaxFileCount(2);
  EXPECT_EQ(list.FileCount(), 2);
  list.MaxFileCount(4);
  EXPECT_EQ(Entries(list), (Paths{File("d"), File("B")}));
  EXPECT_TRUE(list.FileExists(1));
  EXPECT_FALSE(list.FileExists(3));  // unused but inside the list
  EXPECT_EQ(list.MenuCaption(3), "&3)  ");
  for (const std::int32_t index : {INT_MIN, 0, 5}) {
    EXPECT_EQ(FailureNumber([&] { list.FileExists(index); }), errors::kSubscriptRange) << index;
    EXPECT_EQ(FailureNumber([&] { list.MenuCaption(index); }), errors::kSubscriptRange) << index;
  }
  EXPECT_EQ(FailureNumber([&] { list.MaxFileCount(-1); }), errors::kSubscriptRange);
  EXPECT_EQ(list.MaxFileCount(), 4);
}

TEST_F(MRUFileListTest, TheListFileKeepsPathsExactlyAsTheyAre) {
  cMRUFileList list = ListOf(4, {"a,b.txt", "say \"hi\".txt", " lead "});
  ASSERT_TRUE(list.Save(false, cr_));
  EXPECT_EQ(ReadText("mru.ini"), "MaxCount,4\r\nCount,3\r\nFile1," + File(" lead ") + "\r\nFile2," +
                                     File("say \"hi\".txt") + "\r\nFile3," + File("a,b.txt") + "\r\n\r\n");
  cMRUFileList read;
  EXPECT_TRUE(read.Load(false, cr_));
  EXPECT_EQ(Entries(read), Entries(list));
  fs::remove("mru.ini");  // a missing file is made for six entries
  cMRUFileList().MRU_Read();
  EXPECT_EQ(ReadText("mru.ini"), "MaxCount,6\r\nCount,0\r\n\r\n");
  EXPECT_TRUE(reports_.reports.empty());
}

TEST_F(MRUFileListTest, ReadsWhatItCanAndReportsAMalformedFile) {
  const std::tuple<std::string, std::int32_t, Paths> cases[] = {
      // a maximum of -1: malformed, nothing changes
      {"MaxCount,6\r\nCount,1\r\nFile1 C:\\x\r\n\r\n", -1, {}},
      {"MaxCount,six\r\nCount,0\r\n\r\n", -1, {}},
      {"MaxCount,-1\r\nCount,0\r\n\r\n", -1, {}},
      {"MaxCount,99999999999\r\nCount,0\r\n\r\n", -1, {}},
      {"MaxCount,2\r\nCount,3\r\nFile1,a\r\n\r\n", -1, {}},
      {"MaxCount,1\r\nCount,1\r\nFile1,a\r\nFile2,b\r\n\r\n", -1, {}},
      {"MaxCount,6\r\nCount,2\r\nFile1,a,b\r\nFile2,\"q\"\r\n\r\n", 6, {"a,b", "\"q\""}},
      {"\xEF\xBB\xBFMaxCount, 4 \nCount,1\nFile1,x", 4, {"x"}},
      {"MaxCount,6\r\nCount,4\r\nFile1,x\r\n\r\n", 6, {"x"}},
      {"MaxCount,6\r\nCount,1\r\nFile1,x\r\n\r\nFile2,y\r\n", 6, {"x"}},
      {"MaxCount,0\r\nCount,0\r\n\r\n", 0, {}},
      {"", 5, {}}};
  auto open_files = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()); };
  for (const auto& [content, max, entries] : cases) {
    SCOPED_TRACE(content);
    WriteText("mru.ini", content);
    cMRUFileList list = ListOf(5, {"before"});
    ReportRecorder reports;
    const auto files_open = open_files();
    list.MRU_Read();
    EXPECT_EQ(open_files(), files_open);
    EXPECT_EQ(ReadText("mru.ini"), content);
    EXPECT_EQ(list.MaxFileCount(), max < 0 ? 5 : max);
    EXPECT_EQ(Entries(list), max < 0 ? Paths{File("before")} : entries);
    EXPECT_EQ(reports.reports.size(), max < 0 ? 1u : 0u);
    for (const auto& report : reports.reports) EXPECT_EQ(report.number, cMRUFileList::kInvalidFileFormat);
  }
}

// ---- The list in the settings store -----------------------------------------

// A path with two "%" is stored as REG_EXPAND_SZ and comes back unexpanded; an empty entry is stored as a blank.
TEST_F(MRUFileListTest, TheStoredListComesBackWithoutFilesThatVanished) {
  fs::create_directory("%PATH%");
  for (const char* name : {"a", "b", "%PATH%/c"}) WriteText(name, "x");
  WriteText("mru.ini", "MaxCount,5\r\nCount,4\r\nFile1," + File("a") + "\r\nFile2,\r\nFile3," + File("%PATH%/c") +
                           "\r\nFile4," + File("b") + "\r\n\r\n");
  cMRUFileList list;
  list.MRU_Read();
  EXPECT_TRUE(list.Load(true, cr_));  // nothing stored yet: nothing changes
  ASSERT_TRUE(list.Save(true, cr_));
  const std::pair<const char*, Raw> stored[] = {{"MaxCount", {st::REG_DWORD, std::string("\5\0\0\0", 4)}},
                                                {"Count", {st::REG_DWORD, std::string("\4\0\0\0", 4)}},
                                                {"File1", {st::REG_SZ, Z(File("a"))}},
                                                {"File2", {st::REG_SZ, Z(" ")}},
                                                {"File3", {st::REG_EXPAND_SZ, Z(File("%PATH%/c"))}}};
  for (const auto& [name, raw] : stored) EXPECT_EQ(GetRaw(HKCU, kRecent, name), raw) << name;
  fs::remove("a");
  modRegistry::RegSaveNumber(HKCU, kRecent, "MaxCount", 1);     // File4 is beyond it: kept, not loaded
  modRegistry::RegSaveNumber(HKCU, kRecent, "Count", INT_MAX);  // far more than stored
  ASSERT_TRUE(list.Load(true, cr_));
  EXPECT_EQ(list.MaxFileCount(), 1);
  EXPECT_EQ(Entries(list), Paths{File("%PATH%/c")});
  for (const auto& [name, kept] : {std::pair{"File1", false}, {"File2", false}, {"File3", true}, {"File4", true}}) {
    EXPECT_EQ(GetRaw(HKCU, kRecent, name).has_value(), kept) << name;
  }
  modRegistry::RegSaveNumber(HKCU, kRecent, "MaxCount", 0);  // a list of no entries; what is stored stays
  fs::remove(File("%PATH%/c"));
  ASSERT_TRUE(list.Load(true, cr_));
  EXPECT_EQ(std::tuple(list.MaxFileCount(), list.FileCount(), GetRaw(HKCU, kRecent, "File3").has_value()),
            std::tuple(0, 0, true));
}

}  // namespace
}  // namespace serenitap::testing
