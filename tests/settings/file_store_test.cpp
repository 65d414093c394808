// The file store: its text form, how it treats files it cannot read or
// folders it cannot write, its file rights, and two copies saving at once.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "settings/c_registry.h"
#include "settings/file_store.h"
#include "settings/options.h"
#include "settings/reg_file.h"
#include "settings/registry.h"
#include "settings/settings_fixture.h"

namespace serenitap::testing {
namespace {

namespace st = serenitap::settings;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr std::int32_t HKCU = st::HKEY_CURRENT_USER;

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::vector<std::filesystem::path> SetAsideFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".unreadable-") != std::string::npos) found.push_back(entry.path());
  }
  return found;
}

class FileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { Use(folder_.Path() / "Serenitap"); }
  void TearDown() override { st::SetCurrentStore(previous_); }
  void Use(const std::filesystem::path& folder) {
    store_ = std::make_shared<st::FileRegistryStore>(folder);
    auto previous = st::SetCurrentStore(store_);
    if (!previous_) previous_ = previous;
  }
  std::filesystem::path Hive() const { return store_->HiveFile(HKCU); }

  TempFolder folder_;
  std::shared_ptr<st::FileRegistryStore> store_;
  std::shared_ptr<st::RegistryStore> previous_;
};

// --- The text form ----------------------------------------------------------------

TEST_F(FileStoreTest, TheFileReadsLikeARegistryExport) {
  modOptions::ShowWhatIsItWindow(true);
  modRegistry::RegSaveNumber(HKCU, modOptions::kWindowPositionKey, "Left", 1440);
  EXPECT_EQ(Hive(), folder_.Path() / "Serenitap" / "HKEY_CURRENT_USER.reg");
  EXPECT_EQ(ReadText(Hive()),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap\\Options]\n"
            "\"ShowWhatIsIt\"=dword:00000001\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap\\WindowPosition]\n"
            "\"Left\"=dword:000005a0\n");
}

struct FormCase {
  const char* label;
  std::uint32_t type;
  std::string data;
  std::string line;  // how the value stands in the file
};

TEST(TextForm, EachValueKeepsItsTypeAndBytes) {
  const FormCase cases[] = {

        {"Sz", 1, std::string("C:\\Program Files\\\"x\"\0", 21),
                 R"("Sz"="C:\\Program Files\\\"x\"")"},
        {"Utf8", 1, std::string("Grüße\0", 8), "\"Utf8\"=\"Grüße\""},
        {"NoZero", 1, "abc", "\"NoZero\"=hex(1):61,62,63"},
        {"TwoLines", 1, std::string("a\r\nb\0", 5), "\"TwoLines\"=hex(1):61,0d,0a,62,00"},
        {"Empty", 1, std::string("\0", 1), "\"Empty\"=\"\""},
        {"Expand", 2, std::string("%T%\0", 4), "\"Expand\"=hex(2):25,54,25,00"},
        {"Multi", 7, std::string("a\0b\0\0", 5), "\"Multi\"=hex(7):61,00,62,00,00"},
        {"Dword", 4, std::string("\xff\xff\xff\xff", 4), "\"Dword\"=dword:ffffffff"},
        {"ShortDword", 4, std::string("\x01\x02", 2), "\"ShortDword\"=hex(4):01,02"},
        {"Big", 5, std::string("\x12\x34\x56\x78", 4), "\"Big\"=hex(5):12,34,56,78"},
        {"Bin", 3, std::string("\x00\xff", 2), "\"Bin\"=hex:00,ff"},
        {"NoBytes", 3, "", "\"NoBytes\"=hex:"},
        {"None", 0, "", "\"None\"=hex(0):"},
        {"Type11", 11, "\x01", "\"Type11\"=hex(b):01"},
        {"", 1, std::string("default\0", 8), "@=\"default\""},
        {"Long", 3, std::string(40, '\x41'),
                 "\"Long\"=hex:41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,\\\n"
                 "  41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41"}};
  for (const FormCase& c : cases) {
    SCOPED_TRACE(c.label);
    st::RegKeyNode root;
    root.SubKey("Software").SetValue(c.label, c.type, c.data);
    const std::string text = st::WriteRegFile(root, "HKEY_CURRENT_USER");
    EXPECT_THAT(text, HasSubstr("\n" + c.line + "\n"));
    std::string error;
    const auto back = st::ParseRegFile(text, "HKEY_CURRENT_USER", &error);
    ASSERT_TRUE(back) << error;
    const st::RegValueData* v = back->FindSubKey("software")->FindValue(c.label);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->type, c.type);
    EXPECT_EQ(v->data, c.data);
  }
}


TEST(RegFileParser, AcceptsWhatAPersonMightLeaveInAnExport) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; kept by hand\r\n"
      "[HKEY_CURRENT_USER\\Software\\Serenitap\\Options]  \r\n"
      "  \"ShowWhatIsIt\"=dword:0000000A\r\n"
      "\"Bytes\"=hex:01,\\\r\n"
      "    02\r\n"
      "[hkey_current_user\\SOFTWARE\\serenitap\\OPTIONS]\r\n"
      "\"showwhatisit\"=dword:00000001\r\n";
  std::string error;
  const auto root = st::ParseRegFile(text, "HKEY_CURRENT_USER", &error);
  ASSERT_TRUE(root) << error;
  const st::RegKeyNode* options = root->FindSubKey("Software")->FindSubKey("Serenitap")->FindSubKey("Options");
  ASSERT_NE(options, nullptr);
  ASSERT_EQ(options->values.size(), 2u);
  EXPECT_EQ(options->FindValue("ShowWhatIsIt")->data, std::string("\x01\0\0\0", 4));  // the later line holds
  EXPECT_EQ(options->FindValue("Bytes")->data, "\x01\x02");
}

TEST(RegFileParser, RefusesBrokenTextWithAReason) {
  const std::string header = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n";
  const std::string broken[] = {"",
                                "lorem ipsum dolor\nsit amet\n",
                                "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n",
                                std::string("\x7f" "ELF\x02\x01\x01\0\0\0\0", 12),
                                header + "\"v\"=\"a\0b\"\n",
                                header + "\"v\"=\"abc",
                                header + "\"v\"=hex:01,02,\\\n",
                                header + "[HKEY_CURRENT_USER\\A",
                                header + "\"v\"=\"" + std::string(2 << 20, 'x') + "\"\n",
                                "Windows Registry Editor Version 5.00\n\"v\"=dword:00000001\n",
                                header + "[HKEY_LOCAL_MACHINE\\Software]\n",
                                header + "[HKEY_CURRENT_USER\\A\\\\B]\n",
                                header + "\"v\"=\"a\\nb\"\n",
                                header + "\"v\"=dword:1234567\n",
                                header + "\"v\"=hex:1,02\n",
                                header + "\"v\"=hex(z):01\n",
                                header + "\"v\"=\"a\" x\n",
                                header + "[-HKEY_CURRENT_USER\\A]\n",
                                header + "\"v\"=\"\xff\xfe\"\n"};
  for (const std::string& text : broken) {
    std::string error;
    EXPECT_FALSE(st::ParseRegFile(text, "HKEY_CURRENT_USER", &error)) << text.substr(0, 80);
    EXPECT_THAT(error, StartsWith("line "));
  }
}

// --- Files that cannot be read, folders that cannot be written ---------------------

TEST_F(FileStoreTest, AnUnreadableFileIsSetAsideAndTheDefaultsHold) {
  const std::string garbage = "this is no settings file\n\x01\x02\x03";
  WriteText(Hive(), garbage);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, modOptions::kOptionsKey, "ShowWhatIsIt", 0), 0);
  EXPECT_FALSE(modOptions::ShowWhatIsItWindow());
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_THAT(said, HasSubstr("could not be read"));
  EXPECT_THAT(said, HasSubstr(Hive().string()));

  const auto aside = SetAsideFiles(Hive().parent_path());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadText(aside[0]), garbage);  // kept, byte for byte
  EXPECT_THAT(said, HasSubstr(aside[0].string()));
  EXPECT_FALSE(std::filesystem::exists(Hive()));

  EXPECT_EQ(modOptions::ShowWhatIsItWindow(true), "Success");
  EXPECT_TRUE(modOptions::ShowWhatIsItWindow());
  EXPECT_EQ(ReadText(aside[0]), garbage);
}

TEST_F(FileStoreTest, AFileBrokenBehindTheProgramsBackIsNotOverwrittenBySaving) {
  modRegistry::RegSaveNumber(HKCU, "Software\\Serenitap", "A", 1);
  const std::string truncated = ReadText(Hive()).substr(0, 60);
  WriteText(Hive(), truncated);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, "Software\\Serenitap", "B", 2), "Success");
  ::testing::internal::GetCapturedStderr();
  const auto aside = SetAsideFiles(Hive().parent_path());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadText(aside[0]), truncated);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "Software\\Serenitap", "A", 0), 0);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "Software\\Serenitap", "B", 0), 2);
}

TEST_F(FileStoreTest, AFolderThatCannotBeMadeFailsEverySaveAndReadsDefaults) {
  const auto blocker = folder_.Path() / "not-a-folder";
  WriteText(blocker, "a file where the folder should be");
  Use(blocker / "Serenitap");
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, modOptions::kOptionsKey, "ShowWhatIsIt", 1), "No! Failed to save Value");
  EXPECT_EQ(modRegistry::RegSaveString(HKCU, modOptions::kOptionsKey, "S", "x"), "No! Failed to save Value");
  EXPECT_EQ(modOptions::ShowWhatIsItWindow(true), "No! Failed to save Value");
  EXPECT_FALSE(modOptions::ShowWhatIsItWindow());
  cRegistry r;
  r.ClassKey(HKCU);
  r.SectionKey("Software\\Serenitap");
  r.ValueKey("v");
  r.ValueType(st::REG_DWORD);
  EXPECT_THROW(r.Value(RegVariant(std::int32_t{1})), RegistryError);
  EXPECT_EQ(ReadText(blocker), "a file where the folder should be");
}

TEST_F(FileStoreTest, AFolderThatBecomesUnwritableKeepsWhatWasStored) {
  modRegistry::RegSaveNumber(HKCU, modOptions::kOptionsKey, "ShowWhatIsIt", 1);
  const std::string before = ReadText(Hive());
  const auto folder = Hive().parent_path();
  const auto lock = std::filesystem::path(Hive().string() + ".lock");
  if (::geteuid() == 0) {
    // Rights do not stop the superuser: block the lock file instead.
    std::filesystem::remove(lock);
    std::filesystem::create_directory(lock);
  } else {
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  }
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, modOptions::kOptionsKey, "ShowWhatIsIt", 0), "No! Failed to save Value");
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, modOptions::kOptionsKey, "Other", 5), "No! Failed to save Value");
  EXPECT_TRUE(modOptions::ShowWhatIsItWindow());
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, modOptions::kOptionsKey, "Other", -1), -1);
  EXPECT_EQ(ReadText(Hive()), before);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  std::filesystem::remove(lock);
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, modOptions::kOptionsKey, "Other", 5), "Success");
  EXPECT_TRUE(modOptions::ShowWhatIsItWindow());
}

TEST_F(FileStoreTest, FilesAreForTheirOwnerOnly) {
  modOptions::ShowWhatIsItWindow(true);
  struct stat st {};
  ASSERT_EQ(::stat(Hive().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(Hive().parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((Hive().string() + ".lock").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u);
}

TEST_F(FileStoreTest, TheDefaultFolderFollowsTheEnvironment) {
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(st::DefaultConfigFolder(), std::filesystem::path("/somewhere/config/Serenitap"));
  }
  ScopedEnv xdg("XDG_CONFIG_HOME", "relative/is/ignored");
  ScopedEnv home("HOME", "/home/tapper");
  EXPECT_EQ(st::DefaultConfigFolder(), std::filesystem::path("/home/tapper/.config/Serenitap"));
}

// --- Two running copies ------------------------------------------------------------

TEST_F(FileStoreTest, TwoCopiesSeeEachOthersChanges) {
  auto first = std::make_shared<st::FileRegistryStore>(Hive().parent_path());
  auto second = std::make_shared<st::FileRegistryStore>(Hive().parent_path());
  st::SetCurrentStore(first);
  modRegistry::RegSaveNumber(HKCU, "Software\\Serenitap", "One", 1);
  st::SetCurrentStore(second);
  modRegistry::RegSaveNumber(HKCU, "Software\\Serenitap", "Two", 2);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "Software\\Serenitap", "One", 0), 1);
  st::SetCurrentStore(first);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "Software\\Serenitap", "Two", 0), 2);
  // A key deleted by the other copy is gone for the handles this one holds.
  st::HKey key = 0;
  ASSERT_EQ(first->OpenKey(st::RootHandle(HKCU), "Software\\Serenitap\\Gone", st::KEY_QUERY_VALUE, &key),
            st::ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(first->CreateKey(st::RootHandle(HKCU), "Software\\Serenitap\\Gone", st::MAXIMUM_ALLOWED, &key), 0);
  EXPECT_EQ(second->DeleteKey(st::RootHandle(HKCU), "Software\\Serenitap\\Gone"), 0);
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(first->SetValue(key, "x", st::REG_DWORD, one, 4), st::ERROR_KEY_DELETED);
  first->CloseKey(key);
}

TEST_F(FileStoreTest, TwoProcessesSavingAtOnceLoseNothing) {
  constexpr int kValues = 500;
  const auto folder = Hive().parent_path();
  std::vector<pid_t> children;
  for (int copy = 0; copy < 2; ++copy) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      st::SetCurrentStore(std::make_shared<st::FileRegistryStore>(folder));
      int failures = 0;
      for (int i = 0; i < kValues; ++i) {
        const std::string name = "Copy" + std::to_string(copy) + "-" + std::to_string(i);
        if (modRegistry::RegSaveNumber(HKCU, "Software\\Serenitap\\Race", name, copy * 100000 + i) != "Success") {
          ++failures;
        }
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::string error;
  const auto root = st::ParseRegFile(ReadText(Hive()), "HKEY_CURRENT_USER", &error);
  ASSERT_TRUE(root) << error;
  st::SetCurrentStore(std::make_shared<st::FileRegistryStore>(folder));
  int missing = 0;
  for (int copy = 0; copy < 2; ++copy) {
    for (int i = 0; i < kValues; ++i) {
      const std::string name = "Copy" + std::to_string(copy) + "-" + std::to_string(i);
      if (modRegistry::RegGetNumber(HKCU, "Software\\Serenitap\\Race", name, -1) != copy * 100000 + i) ++missing;
    }
  }
  EXPECT_EQ(missing, 0);
  EXPECT_TRUE(SetAsideFiles(folder).empty());
}

}  // namespace
}  // namespace serenitap::testing
