#include "support/FakePlatform.h"

namespace bastion::testing {

FakePlatform::FakePlatform()
    : bundle_{registry, files, shell, processes, system, internet, restore, clock, Windows1252(), instances, crypto,
              watcher} {}

void FakePlatform::CreateSpecialFolders() {
    for (const std::string& path : shell.FolderPaths()) {
        files.AddFolder(path);
    }
    files.AddFolder(system.systemFolder);
}

}  // namespace bastion::testing
