// The vendor's and the author's addresses, shown and opened by the main
// window, the about window and the promotion windows.
#pragma once

namespace tendra::vendor {

// The about window shows the home page's host name in a label 93 pixels wide,
// so the addresses are kept short.
inline constexpr const char* kHomePage = "https://corvane.example/";
// The home page as the about window shows it: its host name.
inline constexpr const char* kHomePageHost = "corvane.example";
inline constexpr const char* kOrganisationPage = "https://studio.corvane.example/";
inline constexpr const char* kAuthorName = "林桥";
inline constexpr const char* kOrganisation = "Corvane 桥梁工作室";
inline constexpr const char* kAuthorEmail = "linqiao@corvane.example";

// The promotion windows' pages, under the home page.
inline constexpr const char* kLeftPromotionPage = "bdownload.htm";   // ad1frm
inline constexpr const char* kRightPromotionPage = "gdownload.htm";  // adfrm

}  // namespace tendra::vendor
