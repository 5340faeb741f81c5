// The small icons of the result lists, drawn at run time at the window's
// dpi: image k - 1 is icon number k (cookie, registry entry, file, folder,
// excluded item).
#pragma once

#include "ui/win32/GdiObjects.h"

namespace bastion::win32 {

UniqueImageList MakeListIcons(int dpi);

}  // namespace bastion::win32
