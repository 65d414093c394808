#pragma once
// modRegistry: four procedures that read or write one value of the current
// settings store in one call. Readers fall back to the caller's default (a
// missing key, a missing value and a value of another type all look alike);
// writers report only through their result text. None of them throws.
#include <cstdint>
#include <string>
#include <string_view>

namespace serenitap::modRegistry {

inline constexpr std::string_view kSaveSucceeded = "Success";
inline constexpr std::string_view kSaveFailed = "No! Failed to save Value";

// The stored REG_SZ text, or defaultText.
std::string RegGetString(std::int32_t root, std::string_view keyPath, std::string_view valueName,
                         std::string_view defaultText);
// Writes text as REG_SZ without a terminating zero; "Success" or
// "No! Failed to save Value".
std::string RegSaveString(std::int32_t root, std::string_view keyPath, std::string_view valueName,
                          std::string_view text);
// The stored REG_DWORD number, or defaultNumber.
std::int32_t RegGetNumber(std::int32_t root, std::string_view keyPath, std::string_view valueName,
                          std::int32_t defaultNumber);
// Writes number as REG_DWORD; "Success" or "No! Failed to save Value".
std::string RegSaveNumber(std::int32_t root, std::string_view keyPath, std::string_view valueName, std::int32_t number);

}  // namespace serenitap::modRegistry
