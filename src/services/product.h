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

// The product's web site: a bare host name, as the shell opens it.
inline constexpr std::string_view kWebAddress = "www.serenitap.com";
inline constexpr std::string_view kMakerName = "Quorvex Software";
// The maker's web site (scheme and host, no trailing slash); error reports go to its page "errorstp.php".
inline constexpr std::string_view kMakerWebSite = "https://www.quorvex.com";
inline constexpr std::string_view kMakerEmail = "support@quorvex.com";
inline constexpr std::string_view kMakerStreet = "14 Linden Court";
inline constexpr std::string_view kMakerCity = "Halifax, NS B3H 2Y9";
inline constexpr std::string_view kMakerRegion = "Nova Scotia, Canada";
inline constexpr std::string_view kDeveloperName = "Quorvex Software";
inline constexpr std::string_view kCopyright = "Copyright \u00A9 2026 Quorvex Software";
// Appended to the product's web address when a page is opened from the program.
inline constexpr std::string_view kLinkSourceMarker = "?src=stp#";
inline constexpr std::string_view kLinkSourceTag = "desktop";

}  // namespace serenitap::product
