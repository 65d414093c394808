// The recent-files list: its captions, its order and limits, and keeping it in
// "mru.ini" or in the settings store.
#include "settings/mru_file_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "settings/settings_test_support.h"
#include "support/recorders.h"

namespace serenitap::testing {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

TEST(MRUMenuCaption, ShortensLongPathsToTheirEnd) {
  const std::string k37(37, 'n'), k40(40, 'n');
  std::string accents;
  for (int i = 0; i < 30; ++i) accents += "\xC3\xA9";  // é, two bytes
  const std::tuple<std::int32_t, std::string, std::string> cases[] = {
      {1, "C:\\a.txt", "&1)  C:\\a.txt"},
      {10, "", "&10)  "},
      {3, "C:\\ProjectDocuments\\Report of March.docx", "&3)  ...\\Report of March.docx"},
      {2, "C:\\" + std::string(30, 'x'), "&2)  C:\\" + std::string(30, 'x')},  // 33, but the tail fits
      {4, k40, "&4)  " + k40},                                                 // no separator
      {5, "C:\\" + k37, "&5)  ...\\" + k37},                                    // the name alone is longer
      {6, "C:\\a\\" + k40, "&6)  ...\\a\\" + k40},                              // none fits: the leftmost
      {2, "/home/someone/Documents/notes/2024/summary.txt", "&2)  .../Documents/notes/2024/summary.txt"},
      {1, "C:\\" + accents, "&1)  C:\\" + accents}};  // characters, not bytes
  for (const auto& [index, path, caption] : cases) EXPECT_EQ(cMRUFileList::MenuCaptionText(index, path), caption);
}

class MRUFileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::current_path(temp_.Folder().Path());
    fs::create_directory("files");
  }
  void TearDown() override { fs::current_path(previous_folder_); }
  std::string MakeFile(const std::string& name) {
    const fs::path p = temp_.Folder().Path() / "files" / name;
    std::ofstream(p) << "x";
    return p.string();
  }
  static Paths Entries(const cMRUFileList& list) {
    Paths out;
    for (std::int32_t i = 1; i <= list.FileCount(); ++i) out.push_back(list.FILE(i));
    return out;
  }
  static void ExpectOutOfBounds(const std::function<void()>& access) {
    try {
      access();
      ADD_FAILURE() << "no bounds failure";
    } catch (const RuntimeFailure& e) {
      EXPECT_EQ(e.Number(), errors::kSubscriptRange);
    }
  }
  // A list of max entries holding the files of these names, the first the oldest.
  cMRUFileList ListOf(std::int32_t max, const Paths& names) {
    cMRUFileList list;
    list.MaxFileCount(max);
    for (const auto& name : names) list.AddFile(MakeFile(name));
    return list;
  }
  std::string InFiles(const std::string& name) const { return (temp_.Folder().Path() / "files" / name).string(); }

  fs::path previous_folder_ = fs::current_path();
  TempStore temp_;
  MessageBoxRecorder boxes_;
  ReportRecorder reports_;
  cRegistry unused_;
};

TEST_F(MRUFileListTest, AKnownPathMovesToTheTopInItsNewLetterCase) {
  cMRUFileList list = ListOf(6, {"a.txt", "b.txt", "c.txt", "A.TXT"});  // the same file where names ignore case
  EXPECT_EQ(Entries(list), (Paths{InFiles("A.TXT"), InFiles("c.txt"), InFiles("b.txt")}));
}

TEST_F(MRUFileListTest, IgnoresWhatIsNoFileItCanKeep) {
  cMRUFileList list = ListOf(0, {"while-max-is-0"});
  list.MaxFileCount(3);
  for (const std::string& p : {std::string(), InFiles("missing"), InFiles("")}) list.AddFile(p);
  EXPECT_TRUE(boxes_.requests.empty());
  list.AddFile(MakeFile("line\nbreak"));
  list.AddFile((temp_.Folder().Path() / std::string(300, 'n')).string());  // too long to look up
  ASSERT_EQ(boxes_.requests.size(), 1u);
  EXPECT_EQ(boxes_.requests[0].text, "Error: 52. Bad file name or number");
  EXPECT_EQ(boxes_.requests[0].title, "FileExistsA");
  EXPECT_EQ(list.FileCount(), 0);
}

TEST_F(MRUFileListTest, IndicesOutsideTheListAreBoundsFailures) {
  cMRUFileList list = ListOf(3, {"one"});
  for (std::int32_t index : {INT_MIN, -1, 0, 4, INT_MAX}) {
    SCOPED_TRACE(index);
    ExpectOutOfBounds([&] { list.FILE(index); });
    ExpectOutOfBounds([&] { list.FileExists(index); });
    ExpectOutOfBounds([&] { list.MenuCaption(index); });
  }
  EXPECT_TRUE(list.FileExists(1));
  EXPECT_FALSE(list.FileExists(3));  // unused but inside the list
  EXPECT_EQ(list.MenuCaption(3), "&3)  ");
}

TEST_F(MRUFileListTest, TheOldestDropsAtTheMaximumAndWhenShrinking) {
  cMRUFileList list = ListOf(6, {"f0", "f1", "f2", "f3", "f4", "f5", "f6"});
  EXPECT_EQ(Entries(list), (Paths{InFiles("f6"), InFiles("f5"), InFiles("f4"), InFiles("f3"), InFiles("f2"),
                                  InFiles("f1")}));
  list.MaxFileCount(3);
  EXPECT_EQ(list.FileCount(), 3);
  ExpectOutOfBounds([&] { list.FILE(4); });
  ExpectOutOfBounds([&] { list.MaxFileCount(-1); });
  list.MaxFileCount(6);
  EXPECT_EQ(list.FILE(4), "");
  ASSERT_TRUE(list.MRU_Save());
  EXPECT_EQ(ReadText("mru.ini"), "MaxCount,6\r\nCount,3\r\nFile1," + InFiles("f6") + "\r\nFile2," + InFiles("f5") +
                                     "\r\nFile3," + InFiles("f4") + "\r\n\r\n");
}

TEST_F(MRUFileListTest, CommasQuotesAndBlanksComeBackUnchanged) {
  cMRUFileList list = ListOf(4, {"a,b.txt", "say \"hi\".txt", " lead "});
  ASSERT_TRUE(list.Save(false, unused_));
  EXPECT_EQ(ReadText("mru.ini"), "MaxCount,4\r\nCount,3\r\nFile1," + InFiles(" lead ") + "\r\nFile2," +
                                     InFiles("say \"hi\".txt") + "\r\nFile3," + InFiles("a,b.txt") + "\r\n\r\n");
  cMRUFileList read;
  EXPECT_TRUE(read.Load(false, unused_));
  EXPECT_EQ(read.MaxFileCount(), 4);
  EXPECT_EQ(Entries(read), Entries(list));
  EXPECT_TRUE(reports_.reports.empty());
}

TEST_F(MRUFileListTest, AMissingListFileIsCreatedForSixEntries) {
  cMRUFileList list;
  list.MRU_Read();
  EXPECT_EQ(list.MaxFileCount(), 6);
  EXPECT_EQ(list.FileCount(), 0);
  EXPECT_EQ(ReadText("mru.ini"), "MaxCount,6\r\nCount,0\r\n\r\n");
}

TEST_F(MRUFileListTest, AListFileThatCannotBeUsedIsReportedAndNothingChanges) {
  fs::create_directory("mru.ini");  // can be neither read nor replaced
  cMRUFileList list = ListOf(2, {"one"});
  list.MRU_Read();
  EXPECT_FALSE(list.MRU_Save());
  ASSERT_EQ(reports_.reports.size(), 2u);
  EXPECT_EQ(reports_.reports[0].procedure, "MRU_Read");
  EXPECT_EQ(reports_.reports[1].procedure, "MRU_Save");
  for (const auto& r : reports_.reports) {
    EXPECT_EQ(r.module, "cMRUFileList");
    EXPECT_EQ(r.number, 75);
    EXPECT_TRUE(r.extra.starts_with("Line: ")) << r.extra;
  }
  EXPECT_EQ(Entries(list), Paths{InFiles("one")});
  for (const auto& entry : fs::directory_iterator(".")) {  // no temporary file left behind
    EXPECT_FALSE(entry.path().filename().string().starts_with("mru.ini.")) << entry.path();
  }
}

TEST_F(MRUFileListTest, ReadsWhatItCanAndReportsAMalformedFile) {
  const std::tuple<std::string, std::int32_t, Paths> cases[] = {  // a maximum of -1: malformed, nothing changes
      {"MaxCount,6\r\nCount,1\r\nFile1 C:\\x\r\n\r\n", -1, {}},
      {std::string("\x01\x02\xff\x00\x7f", 5), -1, {}},
      {"MaxCount,six\r\nCount,0\r\n\r\n", -1, {}},
      {"MaxCount,-1\r\nCount,0\r\n\r\n", -1, {}},
      {"MaxCount,99999999999\r\nCount,0\r\n\r\n", -1, {}},
      {"MaxCount,2\r\nCount,3\r\nFile1,a\r\n\r\n", -1, {}},
      {"MaxCount,2\r\nCount,-1\r\n\r\n", -1, {}},
      {"MaxCount,1\r\nCount,1\r\nFile1,a\r\nFile2,b\r\n\r\n", -1, {}},
      {"MaxCount,6\r\nCount,2\r\nFile1,a,b\r\nFile2,\"q\"\r\n\r\n", 6, {"a,b", "\"q\""}},
      {"MaxCount,3\nCount,1\nFile1,x\n\n", 3, {"x"}},
      {"\xEF\xBB\xBFMaxCount, 4 \r\nCount,1\r\nFile1,x", 4, {"x"}},
      {"MaxCount,6\r\nCount,4\r\nFile1,x\r\n\r\n", 6, {"x"}},
      {"MaxCount,6\r\nCount,1\r\nFile1,x\r\n\r\nFile2,y\r\n", 6, {"x"}},
      {"", 5, {}}};
  const auto open_files = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()); };
  for (const auto& [content, max, entries] : cases) {
    SCOPED_TRACE(content);
    WriteText("mru.ini", content);
    cMRUFileList list = ListOf(5, {"before"});
    ReportRecorder reports;
    const auto files_before = open_files();
    list.MRU_Read();
    EXPECT_EQ(open_files(), files_before);
    EXPECT_EQ(ReadText("mru.ini"), content);
    EXPECT_EQ(list.MaxFileCount(), max < 0 ? 5 : max);
    EXPECT_EQ(Entries(list), max < 0 ? Paths{InFiles("before")} : entries);
    ASSERT_EQ(reports.reports.size(), max < 0 ? 1u : 0u);
    if (max < 0) {
      EXPECT_EQ(reports.reports[0].number, cMRUFileList::kInvalidFileFormat);
      EXPECT_EQ(reports.reports[0].module, "cMRUFileList");
      EXPECT_EQ(reports.reports[0].procedure, "MRU_Read");
    }
  }
}

// ---- The list in the settings store -----------------------------------------

class MRURegistryForm : public MRUFileListTest {
 protected:
  RegVariant Stored(const std::string& name) {
    cr_.ValueKey(name);
    return cr_.Value();
  }
  void Put(const std::string& name, std::uint32_t type, const RegVariant& value) {
    cr_.ValueKey(name);
    cr_.ValueType(static_cast<std::int32_t>(type));
    cr_.Value(value);
  }
  cRegistry cr_ = [] {
    cRegistry r;
    r.ClassKey(HKCU);
    r.SectionKey("Software\\Serenitap\\Recent");
    return r;
  }();
};

TEST_F(MRURegistryForm, LoadingSkipsAndDeletesVanishedFiles) {
  cMRUFileList list = ListOf(6, {"f1", "f2", "f3", "f4"});
  ASSERT_TRUE(list.Save(true, cr_));
  EXPECT_EQ(Stored("MaxCount"), RegVariant{std::int32_t{6}});
  EXPECT_EQ(cr_.ValueType(), static_cast<std::int32_t>(st::REG_DWORD));
  EXPECT_EQ(Stored("Count"), RegVariant{std::int32_t{4}});
  EXPECT_EQ(Stored("File1"), RegVariant{InFiles("f4")});
  EXPECT_EQ(cr_.ValueType(), static_cast<std::int32_t>(st::REG_SZ));
  fs::remove(InFiles("f3"));  // File2
  fs::remove(InFiles("f1"));  // File4
  cMRUFileList loaded;
  ASSERT_TRUE(loaded.Load(true, cr_));
  EXPECT_EQ(loaded.MaxFileCount(), 6);
  EXPECT_EQ(Entries(loaded), (Paths{InFiles("f4"), InFiles("f2")}));
  EXPECT_EQ(Stored("File2"), RegVariant{});
  EXPECT_EQ(Stored("File4"), RegVariant{});
  EXPECT_EQ(Stored("File3"), RegVariant{InFiles("f2")});
}

TEST_F(MRURegistryForm, OddStoredListsLoadWithoutFailing) {
  cMRUFileList list = ListOf(2, {"kept"});
  EXPECT_TRUE(list.Load(true, cr_));  // no key yet: nothing changes
  ASSERT_EQ(list.FileCount(), 1);
  const std::string a = MakeFile("a"), b = MakeFile("b"), c = MakeFile("c");
  Put("MaxCount", st::REG_DWORD, std::int32_t{2});
  Put("Count", st::REG_DWORD, INT_MAX);  // far more than stored
  Put("File1", st::REG_SZ, a);
  Put("File3", st::REG_SZ, b);
  Put("File4", st::REG_SZ, c);
  EXPECT_TRUE(list.Load(true, cr_));
  EXPECT_EQ(Entries(list), (Paths{a, b}));
  EXPECT_EQ(Stored("File4"), RegVariant{c});  // beyond MaxCount, but its file is there
  Put("MaxCount", st::REG_DWORD, std::int32_t{0});
  EXPECT_TRUE(list.Load(true, cr_));
  EXPECT_EQ(list.MaxFileCount(), 0);
  EXPECT_EQ(list.FileCount(), 0);
  EXPECT_TRUE(reports_.reports.empty());
}

// A path with two "%" is stored as REG_EXPAND_SZ; an empty entry as a blank.
TEST_F(MRURegistryForm, PathsComeBackExactlyAsSaved) {
  fs::create_directory(InFiles("%PATH%"));
  const std::string path = MakeFile("%PATH%/notes.txt");
  WriteText("mru.ini", "MaxCount,3\r\nCount,2\r\nFile1," + path + "\r\nFile2,\r\n\r\n");
  cMRUFileList list;
  list.MRU_Read();
  ASSERT_TRUE(list.Save(true, cr_));
  EXPECT_EQ(Stored("File2"), RegVariant{std::string(" ")});
  Stored("File1");
  EXPECT_EQ(cr_.ValueType(), static_cast<std::int32_t>(st::REG_EXPAND_SZ));
  list.Load(true, cr_);
  EXPECT_EQ(Entries(list), Paths{path});
  EXPECT_EQ(Stored("File2"), RegVariant{});
}

}  // namespace
}  // namespace serenitap::testing
