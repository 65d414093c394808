#include "settings/mru_file_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "settings/registry_store.h"
#include "support/recorders.h"
#include "support/temp_folder.h"
#ifndef _WIN32
#include "settings/file_store.h"
#endif

namespace serenitap {
namespace {

namespace fs = std::filesystem;
using testing::MessageBoxRecorder;
using testing::ReportRecorder;
using testing::TempFolder;

// ---- Menu captions: a pure function of index and path ---------------------

struct CaptionCase {
  const char* name;
  std::int32_t index;
  std::string path;
  std::string expected;
};

TEST(MRUMenuCaption, ShortensLongPathsToTheirEnd) {
  const std::string k37(37, 'n'), k40(40, 'n');
  std::string kThirtyAccents;
  for (int i = 0; i < 30; ++i) kThirtyAccents += "\xC3\xA9";  // é, two bytes
  const CaptionCase cases[] = {
        CaptionCase{"Short", 1, "C:\\a.txt", "&1)  C:\\a.txt"},
        CaptionCase{"Empty", 10, "", "&10)  "},
        CaptionCase{"DriveFolderFile40", 3, "C:\\ProjectDocuments\\Report of March.docx",
                    "&3)  ...\\Report of March.docx"},
        CaptionCase{"Exactly32", 2, "C:\\" + std::string(29, 'x'), "&2)  C:\\" + std::string(29, 'x')},
        CaptionCase{"ThirtyThreeButTailFits", 2, "C:\\" + std::string(30, 'x'), "&2)  C:\\" + std::string(30, 'x')},
        CaptionCase{"NoSeparator", 4, k40, "&4)  " + k40},
        CaptionCase{"NameLongerThanTail", 5, "C:\\" + k37, "&5)  ...\\" + k37},
        CaptionCase{"LeftmostWhenNoneFits", 6, "C:\\a\\" + k40, "&6)  ...\\a\\" + k40},
        CaptionCase{"SlashSeparators", 2, "/home/someone/Documents/notes/2024/summary.txt",
                    "&2)  .../Documents/notes/2024/summary.txt"},
        CaptionCase{"CountsCharactersNotBytes", 1, "C:\\" + kThirtyAccents,
                    "&1)  C:\\" + kThirtyAccents}};
  for (const CaptionCase& c : cases) EXPECT_EQ(cMRUFileList::MenuCaptionText(c.index, c.path), c.expected) << c.name;
}

// ---- The list in a folder of its own ---------------------------------------

class MRUFileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_folder_ = fs::current_path();
    fs::current_path(folder_.Path());
    fs::create_directory(folder_.Path() / "files");
#ifndef _WIN32
    store_ = std::make_shared<settings::FileRegistryStore>(folder_.Path() / "config");
    previous_store_ = settings::SetCurrentStore(store_);
#endif
  }
  void TearDown() override {
#ifndef _WIN32
    settings::SetCurrentStore(previous_store_);
#endif
    fs::current_path(previous_folder_);
  }

  std::string MakeFile(const std::string& name) {
    const fs::path p = folder_.Path() / "files" / name;
    std::ofstream(p) << "x";
    return p.string();
  }
  static void WriteListFile(const std::string& bytes) { std::ofstream("mru.ini", std::ios::binary) << bytes; }
  static std::string ListFile() {
    std::ifstream in("mru.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::vector<std::string> Entries(const cMRUFileList& list) {
    std::vector<std::string> out;
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

  TempFolder folder_;
  MessageBoxRecorder boxes_;
  ReportRecorder reports_;
  fs::path previous_folder_;
  std::shared_ptr<settings::RegistryStore> store_, previous_store_;
};

TEST_F(MRUFileListTest, AKnownPathMovesToTheTopInItsNewLetterCase) {
  cMRUFileList list;
  list.MaxFileCount(6);
  const std::string a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
  const std::string upper = MakeFile("A.TXT");  // the same file where names ignore case
  for (const auto& p : {a, b, c}) list.AddFile(p);
  list.AddFile(upper);
  EXPECT_EQ(Entries(list), (std::vector<std::string>{upper, c, b}));
}

// A name too long to look up is shown as the failure of FileExistsA.
TEST_F(MRUFileListTest, IgnoresWhatIsNoFileItCanKeep) {
  cMRUFileList list;
  list.AddFile(MakeFile("while-max-is-0"));
  list.MaxFileCount(3);
  for (const std::string& p : {std::string(), (folder_.Path() / "files" / "missing").string(),
                               (folder_.Path() / "files").string()}) {
    list.AddFile(p);
  }
  EXPECT_TRUE(boxes_.requests.empty());
#ifndef _WIN32
  list.AddFile(MakeFile("line\nbreak"));
  list.AddFile((folder_.Path() / std::string(300, 'n')).string());
  ASSERT_EQ(boxes_.requests.size(), 1u);
  EXPECT_EQ(boxes_.requests[0].text, "Error: 52. Bad file name or number");
  EXPECT_EQ(boxes_.requests[0].title, "FileExistsA");
#endif
  EXPECT_EQ(list.FileCount(), 0);
}

TEST_F(MRUFileListTest, IndicesOutsideTheListAreBoundsFailures) {
  cMRUFileList list;
  list.MaxFileCount(3);
  list.AddFile(MakeFile("one"));
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
  cMRUFileList list;
  list.MaxFileCount(6);
  std::vector<std::string> p;
  for (int i = 0; i < 7; ++i) list.AddFile(p.emplace_back(MakeFile("f" + std::to_string(i))));
  EXPECT_EQ(Entries(list), (std::vector<std::string>{p[6], p[5], p[4], p[3], p[2], p[1]}));
  list.MaxFileCount(3);
  EXPECT_EQ(Entries(list), (std::vector<std::string>{p[6], p[5], p[4]}));
  ExpectOutOfBounds([&] { list.FILE(4); });
  ExpectOutOfBounds([&] { list.MaxFileCount(-1); });
  list.MaxFileCount(6);
  EXPECT_EQ(list.FileCount(), 3);
  EXPECT_EQ(list.FILE(4), "");
  ASSERT_TRUE(list.MRU_Save());
  EXPECT_EQ(ListFile(), "MaxCount,6\r\nCount,3\r\nFile1," + p[6] + "\r\nFile2," + p[5] + "\r\nFile3," + p[4] +
                            "\r\n\r\n");
}

TEST_F(MRUFileListTest, CommasQuotesAndBlanksComeBackUnchanged) {
  cMRUFileList list;
  list.MaxFileCount(4);
  const std::string comma = MakeFile("a,b.txt"), quote = MakeFile("say \"hi\".txt"), blank = MakeFile(" lead ");
  for (const auto& p : {comma, quote, blank}) list.AddFile(p);
  cRegistry unused;
  ASSERT_TRUE(list.Save(false, unused));
  EXPECT_EQ(ListFile(), "MaxCount,4\r\nCount,3\r\nFile1," + blank + "\r\nFile2," + quote + "\r\nFile3," + comma +
                            "\r\n\r\n");
  cMRUFileList read;
  EXPECT_TRUE(read.Load(false, unused));
  EXPECT_EQ(read.MaxFileCount(), 4);
  EXPECT_EQ(Entries(read), Entries(list));
  EXPECT_TRUE(reports_.reports.empty());
}

TEST_F(MRUFileListTest, AMissingListFileIsCreatedForSixEntries) {
  cMRUFileList list;
  list.MRU_Read();
  EXPECT_EQ(list.MaxFileCount(), 6);
  EXPECT_EQ(list.FileCount(), 0);
  EXPECT_EQ(ListFile(), "MaxCount,6\r\nCount,0\r\n\r\n");
}

// A folder named mru.ini can be neither read nor replaced.
TEST_F(MRUFileListTest, AnUnusableListFileIsReportedAndNothingChanges) {
  fs::create_directory("mru.ini");
  cMRUFileList list;
  list.MaxFileCount(2);
  const std::string one = MakeFile("one");
  list.AddFile(one);
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
  EXPECT_EQ(Entries(list), std::vector<std::string>{one});
  for (const auto& entry : fs::directory_iterator(".")) {  // no temporary file left behind
    EXPECT_FALSE(entry.path().filename().string().starts_with("mru.ini.")) << entry.path();
  }
}

struct ListFileCase {
  const char* name;
  std::string content;
  std::int32_t max;  // -1: the file is malformed and changes nothing
  std::vector<std::string> entries;
};

void PrintTo(const ListFileCase& c, std::ostream* os) { *os << c.name; }

class MRUListFile : public MRUFileListTest, public ::testing::WithParamInterface<ListFileCase> {};

TEST_P(MRUListFile, ReadsWhatItCanAndReportsTheRest) {
  WriteListFile(GetParam().content);
  cMRUFileList list;
  list.MaxFileCount(5);
  const std::string before = MakeFile("before");
  list.AddFile(before);
#ifdef __linux__
  const auto open_files = std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
#endif
  list.MRU_Read();
#ifdef __linux__
  EXPECT_EQ(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()), open_files);
#endif
  EXPECT_EQ(ListFile(), GetParam().content);
  if (GetParam().max < 0) {
    ASSERT_EQ(reports_.reports.size(), 1u);
    EXPECT_EQ(reports_.reports[0].number, cMRUFileList::kInvalidFileFormat);
    EXPECT_EQ(reports_.reports[0].module, "cMRUFileList");
    EXPECT_EQ(reports_.reports[0].procedure, "MRU_Read");
    EXPECT_EQ(list.MaxFileCount(), 5);
    EXPECT_EQ(Entries(list), std::vector<std::string>{before});
  } else {
    EXPECT_TRUE(reports_.reports.empty());
    EXPECT_EQ(list.MaxFileCount(), GetParam().max);
    EXPECT_EQ(Entries(list), GetParam().entries);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MRUListFile,
    ::testing::Values(
        ListFileCase{"NoComma", "MaxCount,6\r\nCount,1\r\nFile1 C:\\x\r\n\r\n", -1, {}},
        ListFileCase{"Binary", std::string("\x01\x02\xff\x00\x7f", 5), -1, {}},
        ListFileCase{"MaxCountNotANumber", "MaxCount,six\r\nCount,0\r\n\r\n", -1, {}},
        ListFileCase{"MaxCountNegative", "MaxCount,-1\r\nCount,0\r\n\r\n", -1, {}},
        ListFileCase{"MaxCountTooBig", "MaxCount,99999999999\r\nCount,0\r\n\r\n", -1, {}},
        ListFileCase{"CountAboveMaxCount", "MaxCount,2\r\nCount,3\r\nFile1,a\r\n\r\n", -1, {}},
        ListFileCase{"CountNegative", "MaxCount,2\r\nCount,-1\r\n\r\n", -1, {}},
        ListFileCase{"EntriesBeyondMaxCount", "MaxCount,1\r\nCount,1\r\nFile1,a\r\nFile2,b\r\n\r\n", -1, {}},
        ListFileCase{"TwoEntriesWithCommaAndQuotes", "MaxCount,6\r\nCount,2\r\nFile1,a,b\r\nFile2,\"q\"\r\n\r\n", 6, {"a,b", "\"q\""}},
        ListFileCase{"BareLineFeeds", "MaxCount,3\nCount,1\nFile1,x\n\n", 3, {"x"}},
        ListFileCase{"ByteOrderMarkNoFinalLine", "\xEF\xBB\xBFMaxCount, 4 \r\nCount,1\r\nFile1,x", 4, {"x"}},
        ListFileCase{"CountAboveEntriesListed", "MaxCount,6\r\nCount,4\r\nFile1,x\r\n\r\n", 6, {"x"}},
        ListFileCase{"StopsAtTheEmptyLine", "MaxCount,6\r\nCount,1\r\nFile1,x\r\n\r\nFile2,y\r\n", 6, {"x"}},
        ListFileCase{"EmptyFile", "", 5, {}}),
    [](const ::testing::TestParamInfo<ListFileCase>& info) { return std::string(info.param.name); });

// ---- The registry form, on the file store in the test's folder -------------
#ifndef _WIN32
class MRURegistryForm : public MRUFileListTest {
 protected:
  void SetUp() override {
    MRUFileListTest::SetUp();
    cr_.ClassKey(settings::HKEY_CURRENT_USER);
    cr_.SectionKey("Software\\Serenitap\\Recent");
  }
  RegVariant Stored(const std::string& name) {
    cr_.ValueKey(name);
    return cr_.Value();
  }
  void Put(const std::string& name, std::uint32_t type, const RegVariant& value) {
    cr_.ValueKey(name);
    cr_.ValueType(static_cast<std::int32_t>(type));
    cr_.Value(value);
  }
  cRegistry cr_;
};

TEST_F(MRURegistryForm, LoadingSkipsAndDeletesVanishedFiles) {
  cMRUFileList list;
  list.MaxFileCount(6);
  std::vector<std::string> paths;
  for (int i = 1; i <= 4; ++i) list.AddFile(paths.emplace_back(MakeFile("f" + std::to_string(i))));
  ASSERT_TRUE(list.Save(true, cr_));
  EXPECT_EQ(Stored("MaxCount"), RegVariant{std::int32_t{6}});
  EXPECT_EQ(cr_.ValueType(), static_cast<std::int32_t>(settings::REG_DWORD));
  EXPECT_EQ(Stored("Count"), RegVariant{std::int32_t{4}});
  EXPECT_EQ(Stored("File1"), RegVariant{paths[3]});
  EXPECT_EQ(cr_.ValueType(), static_cast<std::int32_t>(settings::REG_SZ));

  fs::remove(paths[2]);  // File2
  fs::remove(paths[0]);  // File4
  cMRUFileList loaded;
  ASSERT_TRUE(loaded.Load(true, cr_));
  EXPECT_EQ(loaded.MaxFileCount(), 6);
  EXPECT_EQ(Entries(loaded), (std::vector<std::string>{paths[3], paths[1]}));
  EXPECT_EQ(Stored("File2"), RegVariant{});
  EXPECT_EQ(Stored("File4"), RegVariant{});
  EXPECT_EQ(Stored("File3"), RegVariant{paths[1]});
}

TEST_F(MRURegistryForm, OddStoredListsLoadWithoutFailing) {
  cMRUFileList list;
  list.MaxFileCount(2);
  list.AddFile(MakeFile("kept"));
  EXPECT_TRUE(list.Load(true, cr_));  // no key yet: nothing changes
  ASSERT_EQ(list.FileCount(), 1);

  const std::string a = MakeFile("a"), b = MakeFile("b"), c = MakeFile("c");
  Put("MaxCount", settings::REG_DWORD, std::int32_t{2});
  Put("Count", settings::REG_DWORD, INT_MAX);  // far more than stored
  Put("File1", settings::REG_SZ, a);
  Put("File3", settings::REG_SZ, b);
  Put("File4", settings::REG_SZ, c);
  EXPECT_TRUE(list.Load(true, cr_));
  EXPECT_EQ(Entries(list), (std::vector<std::string>{a, b}));
  EXPECT_EQ(Stored("File4"), RegVariant{c});  // beyond MaxCount, but its file is there

  Put("MaxCount", settings::REG_DWORD, std::int32_t{0});
  EXPECT_TRUE(list.Load(true, cr_));
  EXPECT_EQ(list.MaxFileCount(), 0);
  EXPECT_EQ(list.FileCount(), 0);
  EXPECT_TRUE(reports_.reports.empty());
}

// A path with two "%" is stored as REG_EXPAND_SZ; an empty entry as a blank.
TEST_F(MRURegistryForm, PathsComeBackExactlyAsSaved) {
  fs::create_directory(folder_.Path() / "files" / "%PATH%");
  const std::string path = MakeFile("%PATH%/notes.txt");
  WriteListFile("MaxCount,3\r\nCount,2\r\nFile1," + path + "\r\nFile2,\r\n\r\n");
  cMRUFileList list;
  list.MRU_Read();
  ASSERT_TRUE(list.Save(true, cr_));
  EXPECT_EQ(Stored("File2"), RegVariant{std::string(" ")});
  Stored("File1");
  EXPECT_EQ(cr_.ValueType(), static_cast<std::int32_t>(settings::REG_EXPAND_SZ));
  list.Load(true, cr_);
  EXPECT_EQ(Entries(list), std::vector<std::string>{path});
  EXPECT_EQ(Stored("File2"), RegVariant{});
}
#endif

}  // namespace
}  // namespace serenitap
