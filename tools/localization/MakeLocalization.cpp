// make-localization: the build step that writes the translation file from
// the program's own windows and messages.
//
//   make-localization TEMPLATE SHIPPED [LANGUAGE_BLOCK_FILE...]
//
// TEMPLATE receives the English template, SHIPPED the template with the
// translations of the given files after the English block. Both are read
// back and checked: every English text must come back as the program holds
// it, and every translation must keep the placeholders and access keys of
// the English text, or the build fails. A text a translation lacks is
// reported (the English one shows in its place).
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/ProgramWindows.h"
#include "services/identity/Identity.h"
#include "ui/translation/LocalizationTemplate.h"

namespace {

bool ReadAll(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return true;
}

bool WriteAll(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

bool Check(const std::string& path, const std::string& text, const std::vector<bastion::ui::Form*>& windows,
           const bastion::services::MessageCatalogue& messages) {
    const bastion::ui::LocalizationCheck check = bastion::ui::CheckLocalizationFile(text, windows, messages);
    for (const std::string& warning : check.warnings) std::cerr << path << ": warning: " << warning << "\n";
    for (const std::string& error : check.errors) std::cerr << path << ": error: " << error << "\n";
    return check.errors.empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make-localization TEMPLATE SHIPPED [LANGUAGE_BLOCK_FILE...]\n";
        return 2;
    }
    bastion::ProgramWindows windows;
    const std::vector<bastion::ui::Form*> all = windows.All();
    const bastion::services::MessageCatalogue messages = bastion::ProgramMessages(bastion::services::BuildIdentity());

    std::vector<std::string> blocks;
    for (int i = 3; i < argc; ++i) {
        std::string block;
        if (!ReadAll(argv[i], block)) {
            std::cerr << "make-localization: cannot read " << argv[i] << "\n";
            return 1;
        }
        blocks.push_back(std::move(block));
    }
    const std::string englishTemplate = bastion::ui::makeLocalizationFile(all, messages);
    const std::string shipped = bastion::ui::ComposeLocalizationFile(all, messages, blocks);
    if (!WriteAll(argv[1], englishTemplate) || !WriteAll(argv[2], shipped)) {
        std::cerr << "make-localization: cannot write the files\n";
        return 1;
    }
    // What was written is read back from the disk, as the program will.
    std::string writtenTemplate;
    std::string writtenShipped;
    if (!ReadAll(argv[1], writtenTemplate) || !ReadAll(argv[2], writtenShipped)) return 1;
    // Both are checked, so that one run names the faults of both.
    const bool templateGood = Check(argv[1], writtenTemplate, all, messages);
    const bool shippedGood = Check(argv[2], writtenShipped, all, messages);
    return templateGood && shippedGood ? 0 : 1;
}
