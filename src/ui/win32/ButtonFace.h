// How the owner-drawn buttons look: flat faces in the program's colours
// rather than the raised grey of the system's buttons.
#pragma once

#include <string>

#include "platform/win32/WindowsApi.h"
#include "ui/win32/UiFonts.h"

namespace bastion::win32 {

enum class ButtonLook {
    Primary,    // filled with the accent colour: the main action of a page
    Secondary,  // white with a thin border
    Nav,        // a row of the navigation column; marked while its page shows
    Link,       // text only, in the link colour
};

struct ButtonState {
    bool enabled = true;
    bool pressed = false;
    bool focused = false;
    bool hovering = false;
    bool selected = false;
};

void DrawButtonFace(HDC dc, const RECT& bounds, ButtonLook look, const ButtonState& state, const std::wstring& text,
                    COLORREF background, const UiFonts& fonts);

}  // namespace bastion::win32
