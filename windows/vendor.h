// The vendor's and the author's addresses, shown and opened by the main
// window, the about window and the promotion windows.
#pragma once

namespace tendra::vendor {

inline constexpr const char* kHomePage = "https://corvane.example.com/";
inline constexpr const char* kOrganisationPage = "https://studio.corvane.example.com/";
inline constexpr const char* kAuthorName = "林桥";
inline constexpr const char* kOrganisation = "Corvane 桥梁软件工作室";
inline constexpr const char* kAuthorEmail = "linqiao@corvane.example.com";

}  // namespace tendra::vendor
