#pragma once
// Questions about the operating system, the display and the current user.
//
// COSInfo holds no state: every property asks the system when it is read. On
// Windows each one is a thin wrapper over one Windows call (os_info_win32.cpp).
// Elsewhere (os_info_posix.cpp) each one gives the nearest real equivalent:
//
//   ComputerName          gethostname(); writing it does nothing, since
//                         renaming the machine is the administrator's task
//   UserName              the effective user's login name (passwd entry,
//                         else $USER)
//   DefaultUserName       the user's full name from the passwd entry (the
//                         first comma-separated part of its comment field)
//   Language              the English name of the language of LC_ALL, else
//                         LC_MESSAGES, else LANG ("de_DE.UTF-8" gives
//                         "German"); empty for C/POSIX, unset or unknown
//   WindowsDirectory      "/usr", where the installed system lives
//   SystemDirectory       "/usr/bin", the system's programs
//   TempPath              $TMPDIR when set, else "/tmp", always with a
//                         trailing "/"
//   TempFile(prefix)      the temporary path + the first three characters of
//                         the prefix + "1.tmp"; the same prefix gives the same
//                         name and no file is created, as on Windows
//   OSMajorVersion, OSMinorVersion, OSBuild
//                         the numbers of the kernel's release (uname), the
//                         third one masked with 0x7FFF as the build
//   OSAdditional          the kernel's version text (uname -v), at most 127
//                         characters
//   DisplayColors, LargeFonts, GetWorkArea
//                         from the screen facts the program installs with
//                         SetScreenFactsSource (colour depth, logical dots per
//                         inch, the screen's available geometry); the failed-
//                         call result while none is installed
//   GUID                  a random (version 4) UUID from /dev/urandom
//
// and the failed-call result (false, 0 or the empty text; writing does
// nothing) where the desktop has no such setting:
//
//   Beep                  no system-wide warning-beep switch
//   ScreenSaverActive, ScreenSaverTimeout
//                         the screen saver belongs to each desktop's own
//                         session manager, not to the system
//   CurrentHardwareProfile  no hardware profiles
//   DefaultCompanyName    no company name recorded at setup
//   WindowsType           no Windows platform family: 0
//
// Failed calls are not reported. A run-time failure inside a member shows
// "Error: <number>. <description>" titled with the member's name and the
// member returns what it had so far.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace serenitap {

// What the program knows about the primary screen, in the screen's pixels.
struct ScreenFacts {
  std::int32_t bitsPerPixel = 0;  // colour depth
  std::int32_t planes = 1;
  std::int32_t logicalDpiX = 0;  // horizontal logical dots per inch
  // The work area (the screen less task bars and panels): left, top, right, bottom.
  std::int32_t workLeft = 0;
  std::int32_t workTop = 0;
  std::int32_t workRight = 0;
  std::int32_t workBottom = 0;
};

// Asked whenever a screen property is read; nullopt when no screen is known.
using ScreenFactsSource = std::function<std::optional<ScreenFacts>()>;

// Installs the screen facts (the program does it at start-up, outside
// Windows) and returns the source it replaces; an empty source means none.
ScreenFactsSource SetScreenFactsSource(ScreenFactsSource source);

struct GuidValue {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};
};

// A value read from the registry: none, text (REG_SZ), bytes (REG_BINARY) or
// a number (REG_DWORD).
using RegistryValue = std::variant<std::monostate, std::string, std::vector<std::uint8_t>, std::int32_t>;

// The rules behind the properties, free of system calls.
namespace osinfo {

// "{" + data1 + "-" + data2 + "-" + data3 + "-" + the eight bytes of data4
// one after another + "}", every part in upper-case hexadecimal without
// leading zeros.
std::string FormatGuid(const GuidValue& guid);

// A version 4 (random) GUID made of sixteen random bytes.
GuidValue GuidFromRandomBytes(const std::array<std::uint8_t, 16>& bytes);

// 2 to the power bits × planes; -1 when that is 32. Any other power that does
// not fit a 32-bit number is an overflow (RuntimeFailure 6); a negative one 0.
std::int32_t DisplayColorsFor(std::int32_t bitsPerPixel, std::int32_t planes);

// True exactly at 120 logical dots per inch.
bool LargeFontsFor(std::int32_t logicalDpi);

// The text up to its first zero character (the whole text when it has none).
std::string TrimNulls(std::string_view text);

// The temporary file name GetTempFileNameA forms for a non-zero unique number:
// the folder + up to three characters of the prefix + the number's low 16
// bits in upper-case hexadecimal + ".tmp".
std::string TempFileNameFor(std::string_view tempPath, std::string_view prefix, std::uint32_t unique);

// The English name of a locale's language: "de_DE.UTF-8" gives "German";
// empty for "C", "POSIX", the empty text and languages it does not know.
std::string LanguageNameFor(std::string_view locale);

struct KernelVersion {
  std::int32_t major = 0;
  std::int32_t minor = 0;
  std::int32_t patch = 0;
};
// The leading numbers of a kernel release such as "6.1.0-18-amd64"; missing
// ones are 0.
KernelVersion ParseKernelRelease(std::string_view release);

// A registry value as text: numbers in decimal, bytes up to the first zero.
std::string RegistryValueText(const RegistryValue& value);

// A 16-bit value, or an overflow (RuntimeFailure 6).
std::int16_t ToInt16(std::int64_t value);

}  // namespace osinfo

class COSInfo {
 public:
  bool Beep() const;
  void Beep(bool fValue);
  std::string ComputerName() const;
  void ComputerName(std::string_view strValue);
  std::string CurrentHardwareProfile() const;
  std::string DefaultCompanyName() const;
  std::string DefaultUserName() const;
  std::int32_t DisplayColors() const;
  std::string GUID() const;
  std::string Language() const;
  bool LargeFonts() const;
  std::string OSAdditional() const;
  std::int32_t OSBuild() const;
  std::int32_t OSMajorVersion() const;
  std::int32_t OSMinorVersion() const;
  bool ScreenSaverActive() const;
  void ScreenSaverActive(bool fValue);
  std::int32_t ScreenSaverTimeout() const;
  void ScreenSaverTimeout(std::int32_t lngValue);
  std::string SystemDirectory() const;
  std::string TempFile(std::string_view strPrefix) const;
  std::string TempPath() const;
  std::string UserName() const;
  std::string WindowsDirectory() const;
  std::int32_t WindowsType() const;
  // The work area in pixels: left, top, width and height.
  void GetWorkArea(std::int16_t& intLeft, std::int16_t& intTop, std::int16_t& intWidth, std::int16_t& intHeight) const;

 private:
  std::string TrimNulls(std::string_view text) const;
};

}  // namespace serenitap
