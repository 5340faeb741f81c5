#include "platform/win32/Win32FolderWatcher.h"

#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

constexpr UINT kChangesMessage = WM_APP + 0x31;
constexpr wchar_t kWindowClass[] = L"BastionFolderChanges";
// The most a network share reports at once; local folders take the same.
constexpr DWORD kBufferBytes = 64 * 1024;
constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                          FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

platform::WatchFailure FailureOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY: return platform::WatchFailure::NotFound;
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_PARAMETER: return platform::WatchFailure::NotSupported;
    default: return platform::WatchFailure::Failed;
    }
}

}  // namespace

class Win32FolderWatcher::Hub {
public:
    Hub() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Hub::WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        // A second watcher registers the class again, which fails harmlessly.
        ::RegisterClassW(&windowClass);
        window_.Reset(::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        windowClass.hInstance, nullptr));
        if (window_) ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Hub() {
        if (window_) ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
    }
    Hub(const Hub&) = delete;
    Hub& operator=(const Hub&) = delete;

    bool Ready() const { return static_cast<bool>(window_); }

    std::uint64_t Add(std::function<void(platform::FolderChanges)> listener) {
        const std::uint64_t id = next_++;
        listeners_[id] = std::move(listener);
        return id;
    }

    // After the worker has ended: nothing of this watch is told any more.
    void Remove(std::uint64_t id) {
        listeners_.erase(id);
        const std::lock_guard<std::mutex> lock(mutex_);
        pending_.erase(id);
    }

    // On a worker: what it saw, told once the window's thread takes it.
    void Post(std::uint64_t id, std::vector<std::string> paths, bool overflowed, bool ended = false) {
        bool wake = false;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            auto [entry, added] = pending_.try_emplace(id);
            platform::FolderChanges& changes = entry->second;
            for (std::string& path : paths) changes.paths.push_back(std::move(path));
            changes.overflowed = changes.overflowed || overflowed;
            changes.ended = changes.ended || ended;
            wake = added;
        }
        // One message while changes wait: a burst gathers behind it.
        if (wake) ::PostMessageW(window_.Get(), kChangesMessage, static_cast<WPARAM>(id), 0);
    }

private:
    void Deliver(std::uint64_t id) {
        platform::FolderChanges changes;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            auto entry = pending_.find(id);
            if (entry == pending_.end()) return;
            changes = std::move(entry->second);
            pending_.erase(entry);
        }
        auto listener = listeners_.find(id);
        if (listener == listeners_.end()) return;
        // A copy: the listener may end its own watch.
        std::function<void(platform::FolderChanges)> tell = listener->second;
        tell(std::move(changes));
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kChangesMessage) {
            if (auto* hub = reinterpret_cast<Hub*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
                try {
                    hub->Deliver(static_cast<std::uint64_t>(wParam));
                } catch (...) {
                    // The changes are lost; the next ones come as usual.
                }
            }
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    UniqueWindow window_;
    std::mutex mutex_;
    std::map<std::uint64_t, platform::FolderChanges> pending_;
    // Touched on the window's thread only.
    std::map<std::uint64_t, std::function<void(platform::FolderChanges)>> listeners_;
    std::uint64_t next_ = 1;
};

namespace {

// One folder's worker: a read of the changes is always outstanding, and
// the worker sleeps until it completes or the watch ends.
class Win32FolderWatch final : public platform::FolderWatch {
public:
    Win32FolderWatch(std::shared_ptr<Win32FolderWatcher::Hub> hub, std::uint64_t id, std::string folder,
                     bool subfolders)
        : hub_(std::move(hub)), id_(id), folder_(std::move(folder)), subfolders_(subfolders), buffer_(kBufferBytes / sizeof(DWORD)) {}

    ~Win32FolderWatch() override {
        if (thread_.joinable()) {
            ::SetEvent(stop_.Get());
            thread_.join();
        }
        if (outstanding_) {
            // An outstanding read must end before its buffer goes.
            ::CancelIoEx(directory_.Get(), &overlapped_);
            DWORD ignored = 0;
            ::GetOverlappedResult(directory_.Get(), &overlapped_, &ignored, TRUE);
        }
        hub_->Remove(id_);
    }
    Win32FolderWatch(const Win32FolderWatch&) = delete;
    Win32FolderWatch& operator=(const Win32FolderWatch&) = delete;

    // Opens the folder and asks for its first changes; the worker starts
    // only when Windows takes that.
    platform::WatchFailure Start() {
        directory_.Reset(::CreateFileW(SystemPath(folder_).c_str(), FILE_LIST_DIRECTORY,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
        if (!directory_) return FailureOf(::GetLastError());
        completed_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        stop_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!completed_ || !stop_) return platform::WatchFailure::Failed;
        if (!Ask()) {
            const DWORD error = ::GetLastError();
            directory_.Reset();
            return FailureOf(error);
        }
        thread_ = std::thread([this] { Run(); });
        return platform::WatchFailure::None;
    }

private:
    bool Ask() {
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = completed_.Get();
        outstanding_ = ::ReadDirectoryChangesW(directory_.Get(), buffer_.data(), kBufferBytes,
                                               subfolders_ ? TRUE : FALSE, kFilter, nullptr, &overlapped_,
                                               nullptr) != FALSE;
        return outstanding_;
    }

    // The watch has ended on its own: the owner hears it once.
    void End() {
        hub_->Post(id_, {}, true, true);
        directory_.Reset();
    }

    void Run() {
        const HANDLE waits[] = {completed_.Get(), stop_.Get()};
        for (;;) {
            const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
            if (woken != WAIT_OBJECT_0) return;
            DWORD bytes = 0;
            const bool read = ::GetOverlappedResult(directory_.Get(), &overlapped_, &bytes, FALSE) != FALSE;
            const DWORD error = read ? ERROR_SUCCESS : ::GetLastError();
            outstanding_ = false;
            if (!read && error != ERROR_NOTIFY_ENUM_DIR) {
                // The folder went away or can no longer be read.
                End();
                return;
            }
            // Zero bytes: the system's buffer overflowed.
            if (!read || bytes == 0) {
                hub_->Post(id_, {}, true);
            } else {
                hub_->Post(id_, Names(bytes), false);
            }
            ::ResetEvent(completed_.Get());
            if (!Ask()) {
                End();
                return;
            }
        }
    }

    std::vector<std::string> Names(DWORD bytes) const {
        std::vector<std::string> paths;
        const auto* base = reinterpret_cast<const unsigned char*>(buffer_.data());
        DWORD offset = 0;
        while (offset + sizeof(FILE_NOTIFY_INFORMATION) <= bytes) {
            const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + offset);
            if (record->Action == FILE_ACTION_ADDED || record->Action == FILE_ACTION_MODIFIED ||
                record->Action == FILE_ACTION_RENAMED_NEW_NAME) {
                const std::wstring_view name(record->FileName, record->FileNameLength / sizeof(wchar_t));
                paths.push_back(folder_ + "\\" + Narrow(name));
            }
            if (record->NextEntryOffset == 0) break;
            offset += record->NextEntryOffset;
        }
        return paths;
    }

    std::shared_ptr<Win32FolderWatcher::Hub> hub_;
    const std::uint64_t id_;
    const std::string folder_;
    const bool subfolders_;
    // DWORD-aligned, as the records are.
    std::vector<DWORD> buffer_;
    UniqueHandle directory_;
    UniqueHandle completed_;
    UniqueHandle stop_;
    OVERLAPPED overlapped_{};
    // A read is with the system: it must complete or be cancelled before
    // the buffer and the handle go.
    bool outstanding_ = false;
    std::thread thread_;
};

}  // namespace

Win32FolderWatcher::Win32FolderWatcher() : hub_(std::make_shared<Hub>()) {}

Win32FolderWatcher::~Win32FolderWatcher() = default;

platform::WatchResult Win32FolderWatcher::Watch(const std::string& folder, bool subfolders,
                                                std::function<void(platform::FolderChanges)> onChanges) {
    if (!hub_->Ready()) return {nullptr, platform::WatchFailure::Failed};
    const std::uint64_t id = hub_->Add(std::move(onChanges));
    auto watch = std::make_unique<Win32FolderWatch>(hub_, id, folder, subfolders);
    const platform::WatchFailure failure = watch->Start();
    if (failure != platform::WatchFailure::None) return {nullptr, failure};
    return {std::move(watch), platform::WatchFailure::None};
}

bool Win32FolderWatcher::WriterFinished(const std::string& path) {
    // Sharing reading only: refused while anyone holds the file open for
    // writing.
    const UniqueHandle file(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

}  // namespace bastion::win32
