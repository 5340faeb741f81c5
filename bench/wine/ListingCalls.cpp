#include "ListingCalls.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cwchar>
#include <mutex>
#include <thread>

#include <winternl.h>

#include "platform/win32/Handles.h"

// Not in the user-mode headers; ntdll exports it on every Windows and Wine.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apc, PVOID apcContext,
                                               PIO_STATUS_BLOCK status, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS infoClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING mask, BOOLEAN restart);

namespace bastion::bench {

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsDot(const wchar_t* name, std::size_t length) {
    return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

template <typename Info>
void TakeRecords(const void* buffer, std::vector<RawEntry>& out) {
    const char* at = static_cast<const char*>(buffer);
    for (;;) {
        const Info* info = reinterpret_cast<const Info*>(at);
        const std::size_t length = info->FileNameLength / sizeof(wchar_t);
        if (!IsDot(info->FileName, length)) out.push_back({std::wstring(info->FileName, length), info->FileAttributes});
        if (info->NextEntryOffset == 0) return;
        at += info->NextEntryOffset;
    }
}

win32::UniqueHandle OpenForListing(const std::wstring& folder) {
    return win32::UniqueHandle(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

void ReadIdentity(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(handle, &info);
}

// FindFirstFileExW gives no identity: the folder is opened a second time.
bool ListByFindWithIdentity(const std::wstring& folder, std::vector<RawEntry>& out) {
    if (!ListByFind(folder, out)) return false;
    win32::UniqueHandle handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) ReadIdentity(handle.Get());
    return true;
}

template <typename Info>
bool ListByHandle(const std::wstring& folder, std::vector<RawEntry>& out, FILE_INFO_BY_HANDLE_CLASS kind,
                  bool identity) {
    win32::UniqueHandle handle = OpenForListing(folder);
    if (!handle) return false;
    if (identity) ReadIdentity(handle.Get());
    std::vector<std::uint64_t> buffer(kBufferBytes / sizeof(std::uint64_t));
    while (::GetFileInformationByHandleEx(handle.Get(), kind, buffer.data(), static_cast<DWORD>(kBufferBytes))) {
        TakeRecords<Info>(buffer.data(), out);
    }
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

template <typename Info>
bool QueryDirectory(HANDLE handle, std::vector<RawEntry>& out, FILE_INFORMATION_CLASS kind) {
    std::vector<std::uint64_t> buffer(kBufferBytes / sizeof(std::uint64_t));
    for (;;) {
        IO_STATUS_BLOCK status{};
        const NTSTATUS result = NtQueryDirectoryFile(handle, nullptr, nullptr, nullptr, &status, buffer.data(),
                                                     static_cast<ULONG>(kBufferBytes), kind, FALSE, nullptr, FALSE);
        if (result == static_cast<NTSTATUS>(0x80000006L)) return true;  // STATUS_NO_MORE_FILES
        if (!NT_SUCCESS(result)) return false;
        TakeRecords<Info>(buffer.data(), out);
    }
}

// The third way: the native call under both of the above, on a handle from
// CreateFileW, with each entry's file id (a subfolder's identity comes with
// its parent's listing).
bool ListByNtQuery(const std::wstring& folder, std::vector<RawEntry>& out) {
    win32::UniqueHandle handle = OpenForListing(folder);
    return handle && QueryDirectory<FILE_ID_FULL_DIR_INFORMATION>(handle.Get(), out, FileIdFullDirectoryInformation);
}

// The same with the folder opened by the native call too.
bool ListByNtOpenAndQuery(const std::wstring& folder, std::vector<RawEntry>& out) {
    UNICODE_STRING ntPath{};
    if (!RtlDosPathNameToNtPathName_U(folder.c_str(), &ntPath, nullptr, nullptr)) return false;
    OBJECT_ATTRIBUTES attributes{};
    InitializeObjectAttributes(&attributes, &ntPath, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE raw = nullptr;
    const NTSTATUS opened =
        NtOpenFile(&raw, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &status, kShareAll,
                   FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT);
    RtlFreeUnicodeString(&ntPath);
    if (!NT_SUCCESS(opened)) return false;
    win32::UniqueHandle handle(raw);
    return QueryDirectory<FILE_ID_FULL_DIR_INFORMATION>(handle.Get(), out, FileIdFullDirectoryInformation);
}

}  // namespace

bool ListByFind(const std::wstring& folder, std::vector<RawEntry>& out) {
    WIN32_FIND_DATAW data{};
    win32::UniqueFindHandle find(::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data,
                                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    do {
        const std::size_t length = std::wcslen(data.cFileName);
        if (!IsDot(data.cFileName, length)) {
            out.push_back({std::wstring(data.cFileName, length), data.dwFileAttributes});
        }
    } while (::FindNextFileW(find.Get(), &data));
    return true;
}

std::vector<ListingCall> ListingCalls() {
    return {
        {"FindFirstFileExW basic, large fetch", ListByFind},
        {"FindFirstFileExW + second open + GetFileInformationByHandle", ListByFindWithIdentity},
        {"handle + FileIdBothDirectoryInfo 64 KB",
         [](const std::wstring& f, auto& out) {
             return ListByHandle<FILE_ID_BOTH_DIR_INFO>(f, out, FileIdBothDirectoryInfo, false);
         }},
        {"handle + FileIdBothDirectoryInfo + GetFileInformationByHandle",
         [](const std::wstring& f, auto& out) {
             return ListByHandle<FILE_ID_BOTH_DIR_INFO>(f, out, FileIdBothDirectoryInfo, true);
         }},
        {"handle + FileFullDirectoryInfo 64 KB",
         [](const std::wstring& f, auto& out) {
             return ListByHandle<FILE_FULL_DIR_INFO>(f, out, FileFullDirectoryInfo, false);
         }},
        {"handle + NtQueryDirectoryFile FileIdFullDirectoryInformation", ListByNtQuery},
        {"NtOpenFile + NtQueryDirectoryFile FileIdFullDirectoryInformation", ListByNtOpenAndQuery},
    };
}

std::size_t EnumerateRaw(const RawLister& list, const std::wstring& folder) {
    std::vector<RawEntry> entries;
    if (!list(folder, entries)) return 0;
    std::size_t count = entries.size();
    for (const RawEntry& entry : entries) {
        const DWORD kind = entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
        if (kind == FILE_ATTRIBUTE_DIRECTORY) {
            count += EnumerateRaw(list, folder + entry.name + L"\\");
        }
    }
    return count;
}

std::size_t EnumerateRawInParallel(const RawLister& list, const std::wstring& folder, int threads) {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::wstring> folders{folder};
    int busy = 0;
    std::atomic<std::size_t> count{0};
    auto work = [&] {
        std::vector<RawEntry> entries;
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return !folders.empty() || busy == 0; });
            if (folders.empty()) return;
            const std::wstring next = std::move(folders.back());
            folders.pop_back();
            ++busy;
            lock.unlock();
            entries.clear();
            if (list(next, entries)) count += entries.size();
            lock.lock();
            for (const RawEntry& entry : entries) {
                const DWORD kind = entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
                if (kind == FILE_ATTRIBUTE_DIRECTORY) folders.push_back(next + entry.name + L"\\");
            }
            --busy;
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) pool.emplace_back(work);
    for (std::thread& thread : pool) thread.join();
    return count;
}

}  // namespace bastion::bench
