// What every window's creation goes through: its model is put into the
// current language before the native window shows it. The translation
// service is one; windows reach it through this interface.
#pragma once

#include "ui/forms/Form.h"

namespace bastion::ui {

class WindowTranslator {
public:
    virtual ~WindowTranslator() = default;
    // Replaces the window's texts that the current language translates;
    // the others keep theirs.
    virtual void TranslateWindow(Form& window) const = 0;
};

}  // namespace bastion::ui
