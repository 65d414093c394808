// The file store against hostile or unlucky files: a pipe, a lock that is
// never released, links, read-only files, left-over temporary files, an
// export of the registry editor. Nothing may block, nothing is overwritten
// that the user did not give the program, and the user is told.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "services/notice.h"
#include "settings/file_store.h"
#include "settings/options.h"
#include "settings/reg_file.h"
#include "settings/registry.h"
#include "settings/settings_fixture.h"

namespace serenitap::testing {
namespace {

namespace fs = std::filesystem;
namespace st = serenitap::settings;
using ::testing::HasSubstr;

constexpr std::int32_t HKCU = st::HKEY_CURRENT_USER;
constexpr auto kPos = modOptions::kWindowPositionKey;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Runs f on its own thread; false when it has not finished within a second.
// A call that hangs is left behind rather than hanging the suite.
bool FinishesWithinASecond(std::function<void()> f) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  std::thread([f = std::move(f), done] {
    f();
    done->set_value();
  }).detach();
  return finished.wait_for(std::chrono::seconds(1)) == std::future_status::ready;
}

class FileStoreAttack : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Folder());
    store_ = std::make_shared<st::FileRegistryStore>(Folder());
    store_->SetLockWait(std::chrono::milliseconds(100));
    previous_ = st::SetCurrentStore(store_);
    previous_sink_ = SetNoticeSink([this](const std::string& text) { notices_.push_back(text); });
  }
  void TearDown() override {
    SetNoticeSink(previous_sink_);
    st::SetCurrentStore(previous_);
  }
  fs::path Folder() const { return folder_.Path() / "Serenitap"; }
  fs::path Hive() const { return store_->HiveFile(HKCU); }
  std::string SaveLeft(std::int32_t value) { return modRegistry::RegSaveNumber(HKCU, kPos, "Left", value); }
  std::int32_t Left() { return modRegistry::RegGetNumber(HKCU, kPos, "Left", -1); }

  TempFolder folder_;
  std::shared_ptr<st::FileRegistryStore> store_;
  std::shared_ptr<st::RegistryStore> previous_;
  NoticeSink previous_sink_;
  std::vector<std::string> notices_;
};

TEST_F(FileStoreAttack, APipeAtTheHivePathIsLeftAloneWithoutWaiting) {
  ASSERT_EQ(::mkfifo(Hive().c_str(), 0600), 0);
  std::int32_t left = 0;
  std::string saved;
  const bool finished = FinishesWithinASecond([&] {
    left = Left();
    saved = SaveLeft(5);
  });
  if (!finished) ::close(::open(Hive().c_str(), O_WRONLY | O_NONBLOCK));  // frees a reader stuck in open
  ASSERT_TRUE(finished) << "the store waited on a pipe";
  EXPECT_EQ(left, -1);
  EXPECT_EQ(saved, "No! Failed to save Value");
  EXPECT_TRUE(fs::is_fifo(Hive()));
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("is not a regular file"));
}

TEST_F(FileStoreAttack, ALockHeldElsewhereDelaysNeitherSavingNorReading) {
  ASSERT_EQ(SaveLeft(1), "Success");
  const std::string before = ReadText(Hive());
  // Another open file description: its lock conflicts as another program's would.
  const int other = ::open((Hive().string() + ".lock").c_str(), O_RDWR);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  std::string saved;
  ASSERT_TRUE(FinishesWithinASecond([&] { saved = SaveLeft(2); }));
  EXPECT_EQ(saved, "No! Failed to save Value");
  EXPECT_EQ(ReadText(Hive()), before);
  // An unreadable file is not set aside while the other holds the lock; the
  // values last read stay in use.
  WriteText(Hive(), "garbage");
  std::int32_t left = 0;
  ASSERT_TRUE(FinishesWithinASecond([&] { left = Left(); }));
  EXPECT_EQ(left, 1);
  EXPECT_EQ(ReadText(Hive()), "garbage");
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("locked"));
  ::close(other);
  EXPECT_EQ(SaveLeft(3), "Success");
  EXPECT_EQ(Left(), 3);
}

TEST_F(FileStoreAttack, ALinkedHiveIsWrittenThroughTheLink) {
  const fs::path elsewhere = folder_.Path() / "dotfiles";
  fs::create_directories(elsewhere);
  const fs::path target = elsewhere / "serenitap.reg";
  WriteText(target, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Serenitap\\Options]\n"
                    "\"ShowWhatIsIt\"=dword:00000001\n");
  fs::create_symlink(target, Hive());
  EXPECT_EQ(SaveLeft(720), "Success");
  EXPECT_TRUE(fs::is_symlink(Hive()));
  EXPECT_THAT(ReadText(target), HasSubstr("\"Left\"=dword:000002d0"));
  EXPECT_TRUE(modOptions::ShowWhatIsItWindow());
  EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), fs::directory_iterator()), 1);
}

TEST_F(FileStoreAttack, AReadOnlyHiveIsLeftUnchanged) {
  ASSERT_EQ(SaveLeft(1), "Success");
  const std::string before = ReadText(Hive());
  fs::permissions(Hive(), fs::perms::owner_read);
  EXPECT_EQ(SaveLeft(2), "No! Failed to save Value");
  EXPECT_EQ(SaveLeft(3), "No! Failed to save Value");
  EXPECT_EQ(ReadText(Hive()), before);
  EXPECT_EQ(Left(), 1);
  ASSERT_EQ(notices_.size(), 1u);  // said once
  EXPECT_THAT(notices_[0], HasSubstr("read-only"));
}

TEST_F(FileStoreAttack, ASaveRemovesTheTemporaryFilesOfInterruptedSaves) {
  const std::string hive = Hive().string();
  for (const std::string& name : {hive + ".a1B2c3", hive + ".zzzzzz", hive + ".keep", hive + ".unreadable-20260101",
                                  (Folder() / "other.reg.a1B2c3").string()}) {
    WriteText(name, "x");
  }
  EXPECT_EQ(SaveLeft(1), "Success");
  EXPECT_FALSE(fs::exists(hive + ".a1B2c3"));
  EXPECT_FALSE(fs::exists(hive + ".zzzzzz"));
  EXPECT_TRUE(fs::exists(hive + ".keep"));
  EXPECT_TRUE(fs::exists(hive + ".unreadable-20260101"));
  EXPECT_TRUE(fs::exists(Folder() / "other.reg.a1B2c3"));
}

TEST_F(FileStoreAttack, AnUnreadableFileIsSaidOnceWithWhereItWent) {
  WriteText(Hive(), "not settings");
  EXPECT_EQ(Left(), -1);
  EXPECT_EQ(Left(), -1);
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("line 1"));
  EXPECT_THAT(notices_[0], HasSubstr(Hive().string() + ".unreadable-"));
}

// What the registry editor writes when it exports the key: UTF-16 LE with a
// byte-order mark and CR LF line ends.
std::string RegeditExport() {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Serenitap\\WindowPosition]\r\n"
      u"\"Left\"=dword:000003c0\r\n\"Title\"=\"Gr\u00fc\u00dfe \U0001F600\"\r\n\r\n";
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST_F(FileStoreAttack, AnExportOfTheRegistryEditorIsReadAndWrittenBackInTheStoresForm) {
  const std::string exported = RegeditExport();
  ASSERT_EQ(exported.substr(0, 8), std::string("\xFF\xFEW\0i\0n\0", 8));
  WriteText(Hive(), exported);
  EXPECT_EQ(Left(), 960);
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kPos, "Title", ""), "Grüße 😀");
  EXPECT_TRUE(notices_.empty());
  EXPECT_EQ(SaveLeft(1), "Success");
  EXPECT_THAT(ReadText(Hive()), ::testing::StartsWith("Windows Registry Editor Version 5.00\n"));
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kPos, "Title", ""), "Grüße 😀");
}

TEST(RegFileRefusal, SaysWhatTheLineIs) {
  const std::string header = "Windows Registry Editor Version 5.00\n";
  const std::pair<std::string, std::string> cases[] = {
      {header + "[-HKEY_CURRENT_USER\\Software\\Serenitap]\n", "deletes a key"},
      {header + "[HKEY_CURRENT_USER\\A]\n\"Left\"=-\n", "deletes a value"},
      {RegeditExport().substr(0, 9), "UTF-16"},                          // cut inside a character
      {std::string("\xFF\xFE\x00\xD8W\0", 6), "UTF-16"},                 // a lone surrogate
  };
  for (const auto& [text, reason] : cases) {
    std::string error;
    EXPECT_FALSE(st::ParseRegFile(text, "HKEY_CURRENT_USER", &error));
    EXPECT_THAT(error, HasSubstr(reason));
  }
}

}  // namespace
}  // namespace serenitap::testing
