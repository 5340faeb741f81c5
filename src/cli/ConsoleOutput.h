// Where the console scanner writes: standard output for results, standard
// error for messages and the progress line. Text is UTF-8; the console
// implementation shows it in any script.
#pragma once

#include <string_view>

namespace bastion::cli {

class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
    // True when standard error is a terminal (a progress line redrawn in
    // place makes sense there only).
    virtual bool ErrIsTerminal() const = 0;
    // Columns of that terminal.
    virtual int ErrWidth() const = 0;
};

}  // namespace bastion::cli
