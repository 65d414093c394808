#pragma once
// cRegistry: a general registry object over the current settings store. It
// holds a root key, a key path, a value name, a value type and a default, and
// offers existence tests, key and value creation and deletion, typed reading
// and writing, enumeration of a key's values and sub-keys and the
// registration of a file-type association. No key stays open between calls.
//
// Representation chosen here:
// - A value is a RegVariant: empty, a 16- or 32-bit integer, a text (UTF-8)
//   or a byte array.
// - A raised error is a RegistryError: a RuntimeFailure (number and
//   description, for the uniform error handler) with a source. The source is
//   the program's file name without extension followed by ".cRegistry".
// - The one raise "without a source or description of its own" (Value write
//   of type REG_BINARY with something other than a byte array) carries that
//   same default source and the system's text for an error number it does not
//   know, "Application-defined or object-defined error".
// - The name lists of EnumerateValues and EnumerateSections hold name 1 at
//   element 0; the count is the list's length.
// - CreateEXEAssociation without an icon index registers icon 0, the
//   program's first icon.
// - Reading a text value whose stored size is 0 gives the empty text.
#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "services/failure.h"

namespace serenitap {

using RegByteArray = std::vector<std::uint8_t>;
using RegVariant = std::variant<std::monostate, std::int16_t, std::int32_t, std::string, RegByteArray>;

class RegistryError : public RuntimeFailure {
 public:
  RegistryError(std::int32_t number, std::string source, const std::string& description,
                std::source_location where = std::source_location::current());
  const std::string& Source() const noexcept { return source_; }

 private:
  std::string source_;
};

class cRegistry {
 public:
  static constexpr std::int32_t kErrorNumber = 26001;
  static constexpr std::int32_t kSetValueFailed = static_cast<std::int32_t>(0x800469A9u);
  static constexpr std::int32_t kEnumerateFailed = static_cast<std::int32_t>(0x800469AAu);

  // The source every raised error carries: file name + ".cRegistry".
  static std::string ErrorSource();

  // True when SectionKey can be opened under ClassKey.
  bool KeyExists() const;
  // Creates SectionKey (and the keys above it); raises 26001 on failure.
  bool CreateKey();
  // Deletes SectionKey; raises 26001 on failure.
  bool DeleteKey();
  // Deletes ValueKey in SectionKey; raises 26001 on failure.
  bool DeleteValue();

  // Reads ValueKey: the stored value converted by its type (ValueType becomes
  // the stored type), or Default when it cannot be read.
  RegVariant Value();
  // Writes vValue as ValueType says; raises 26001 or 0x800469A9.
  void Value(const RegVariant& vValue);

  // The names of the values of SectionKey; true in every case.
  bool EnumerateValues(std::vector<std::string>& sKeyNames, std::int32_t& iKeyCount) const;
  // The names of the sub-keys of SectionKey; true, or raises 0x800469AA.
  bool EnumerateSections(std::vector<std::string>& sSect, std::int32_t& iSectCount) const;

  // Registers the file type "." + sAssociation under HKEY_CLASSES_ROOT with
  // the current ValueType (callers set REG_SZ first).
  void CreateEXEAssociation(std::string_view sExePath, std::string_view sClassName, std::string_view sClassDescription,
                            std::string_view sAssociation, std::int32_t lDefaultIconIndex = 0);

  std::int32_t ValueType() const noexcept { return value_type_; }
  void ValueType(std::int32_t eValueType) noexcept { value_type_ = eValueType; }
  std::int32_t ClassKey() const noexcept { return class_key_; }
  void ClassKey(std::int32_t eKey) noexcept { class_key_ = eKey; }
  const std::string& SectionKey() const noexcept { return section_key_; }
  void SectionKey(std::string sSectionKey) { section_key_ = std::move(sSectionKey); }
  const std::string& ValueKey() const noexcept { return value_key_; }
  void ValueKey(std::string sValueKey) { value_key_ = std::move(sValueKey); }
  const RegVariant& Default() const noexcept { return default_; }
  void Default(RegVariant vDefault) { default_ = std::move(vDefault); }

 private:
  std::int32_t class_key_ = 0;
  std::string section_key_;
  std::string value_key_;
  RegVariant default_;
  std::int32_t value_type_ = 0;
};

// A value as text: empty, the number in decimal, the text, or the bytes.
std::string RegVariantText(const RegVariant& value);

// The four bytes of a 32-bit number in reverse order.
std::int32_t SwapEndian(std::int32_t value) noexcept;

}  // namespace serenitap
