// Console output captured in strings.
#pragma once

#include <string>

#include "cli/ConsoleOutput.h"

namespace bastion::cli {

struct StringConsole : ConsoleOutput {
    void Out(std::string_view text) override { out += text; }
    void Err(std::string_view text) override { err += text; }
    bool ErrIsTerminal() const override { return terminal; }
    int ErrWidth() const override { return width; }

    std::string out;
    std::string err;
    bool terminal = false;
    int width = 40;
};

}  // namespace bastion::cli
