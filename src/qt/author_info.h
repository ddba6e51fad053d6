#pragma once
// The author's addresses, shown and opened by both the splash screen and the about box.
namespace author {

inline constexpr char kName[] = "Tobin \"Velvane\" Hesketh";
inline constexpr char kWebsiteShown[] = "example.org/sim/";
inline constexpr char kWebsiteUrl[] = "https://example.org/sim/";
inline constexpr char kEmail[] = "author@example.org";
inline constexpr char kEmailUrl[] = "mailto:author@example.org";
inline constexpr char kDonateUrl[] = "https://example.org/donate";

}  // namespace author
