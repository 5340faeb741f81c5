// The colours of the program's windows: a white content area, a coloured
// header band, a light navigation column, one accent colour for the
// selection and the main actions.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace bastion::win32::theme {

inline constexpr COLORREF kContent = RGB(255, 255, 255);
inline constexpr COLORREF kText = RGB(27, 27, 27);
inline constexpr COLORREF kSecondaryText = RGB(96, 96, 96);
inline constexpr COLORREF kDisabledText = RGB(160, 160, 160);
inline constexpr COLORREF kHeader = RGB(0, 84, 153);
inline constexpr COLORREF kHeaderText = RGB(255, 255, 255);
inline constexpr COLORREF kHeaderSubtleText = RGB(190, 214, 236);
inline constexpr COLORREF kNav = RGB(243, 245, 248);
inline constexpr COLORREF kNavHover = RGB(228, 234, 242);
inline constexpr COLORREF kNavSelected = RGB(255, 255, 255);
inline constexpr COLORREF kAccent = RGB(0, 103, 192);
inline constexpr COLORREF kAccentHover = RGB(0, 88, 166);
inline constexpr COLORREF kAccentPressed = RGB(0, 72, 138);
inline constexpr COLORREF kSeparator = RGB(222, 226, 231);
inline constexpr COLORREF kLink = RGB(0, 95, 184);

}  // namespace bastion::win32::theme
