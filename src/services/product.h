#pragma once
// The product's constants, kept in one place.
#include <string_view>

#include "services/version.h"

namespace serenitap::product {

inline constexpr std::string_view kName = "Serenitap";
// Title of every message box.
inline constexpr std::string_view kAppTitle = kName;
inline constexpr int kVersionMajor = version::kMajor;
inline constexpr int kVersionMinor = version::kMinor;
inline constexpr int kVersionRevision = version::kRevision;

}  // namespace serenitap::product
