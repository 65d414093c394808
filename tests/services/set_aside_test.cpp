// Setting an unreadable file aside: the name it gets and names already taken.
#include "services/set_aside.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace serenitap {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempFolder;

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The name a file gets carries the date and time it was set aside; a name
// taken by a file or by a link that points nowhere is never written over.
TEST(SetAside, TheFileKeepsItsContentUnderAStampedNameNeverOneTaken) {
  TempFolder folder;
  const std::string file = folder / "a.reg";
  std::error_code error;
  Write(file, "first");
  const std::string first = SetFileAside(file, error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_THAT(first, ::testing::MatchesRegex(".*/a\\.reg\\.unreadable-20[0-9]{6}-[0-2][0-9][0-5][0-9][0-6][0-9]"));
  std::string second, third;
  for (int attempt = 0; attempt < 3; ++attempt) {  // the clock may turn a second meanwhile
    const std::string base = file + ".unreadable-" + SetAsideStamp();
    if (!fs::exists(base)) Write(base, "taken");
    fs::remove(base + "-2");
    fs::create_symlink(folder / "nowhere", base + "-2");
    Write(file, "again");
    third = SetFileAside(file, error);
    ASSERT_FALSE(error);
    if (third.rfind(base, 0) == 0) {
      second = base;
      break;
    }
  }
  ASSERT_FALSE(second.empty());
  EXPECT_EQ(third, second + "-3");
  EXPECT_EQ(ReadText(third), "again");
  EXPECT_FALSE(fs::exists(file));
  EXPECT_TRUE(fs::is_symlink(second + "-2"));
  EXPECT_EQ(ReadText(first), "first");
}

}  // namespace
}  // namespace serenitap
