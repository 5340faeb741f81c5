// Folder watching with ReadDirectoryChangesW, overlapped, one worker thread
// a folder that sleeps until the system reports a change (or the watch
// ends). The workers hand what they saw to a message-only window of the
// thread that created the watcher, whose message loop tells the owners.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/FolderWatcher.h"
#include "platform/win32/Handles.h"

namespace bastion::win32 {

class Win32FolderWatcher final : public platform::FolderWatcher {
public:
    // On the thread whose message loop is to hear of the changes.
    Win32FolderWatcher();
    ~Win32FolderWatcher() override;
    Win32FolderWatcher(const Win32FolderWatcher&) = delete;
    Win32FolderWatcher& operator=(const Win32FolderWatcher&) = delete;

    platform::WatchResult Watch(const std::string& folder, bool subfolders,
                                std::function<void(platform::FolderChanges)> onChanges) override;
    bool WriterFinished(const std::string& path) override;

    // What the workers and the window share; the window holds it while it
    // exists.
    class Hub;

private:
    std::shared_ptr<Hub> hub_;
};

}  // namespace bastion::win32
