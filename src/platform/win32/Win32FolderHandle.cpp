#include "platform/win32/Win32FolderHandle.h"

#include <vector>

#include "platform/FolderLinkData.h"
#include "platform/win32/FileAccess.h"
#include "platform/win32/FolderLinks.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
// After <windows.h>, which they build on.
#include <winioctl.h>
#include <winternl.h>

namespace bastion::win32 {

namespace {

constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
constexpr ULONG kOpenExisting = FILE_OPEN;
constexpr ULONG kCreateNew = FILE_CREATE;
constexpr ULONG kNotAFolder = FILE_NON_DIRECTORY_FILE;
constexpr ULONG kItself = FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT;
constexpr std::size_t kListingBufferBytes = 64 * 1024;
constexpr DWORD kMaxReparseData = 16 * 1024;

// One name of the folder: no separator, no stream, not "." or "..", which
// would reach beyond it.
bool IsOwnName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring::npos;
}

// The entry of that name in the folder, opened itself; an invalid handle
// (the error set) when it cannot be.
UniqueHandle OpenRelative(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG disposition,
                          ULONG options, DWORD share = kShareAll) {
    if (!IsOwnName(name)) {
        ::SetLastError(ERROR_INVALID_NAME);
        return UniqueHandle();
    }
    UNICODE_STRING text;
    text.Buffer = const_cast<PWSTR>(name.c_str());
    text.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE handle = nullptr;
    const NTSTATUS result = ::NtCreateFile(&handle, access, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL,
                                           share, disposition, options | kItself, nullptr, 0);
    if (!NT_SUCCESS(result)) {
        ::SetLastError(::RtlNtStatusToDosError(result));
        return UniqueHandle();
    }
    return UniqueHandle(handle);
}

std::optional<DWORD> AttributesOf(HANDLE handle) {
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof(info))) return std::nullopt;
    return info.FileAttributes;
}

bool SetAttributesOf(HANDLE handle, DWORD attributes) {
    FILE_BASIC_INFO info{};
    // Times of 0 stay as they are.
    info.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return ::SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof(info)) != FALSE;
}

// The link the handle's reparse data describes; nullopt for none.
std::optional<platform::FolderLink> LinkOf(HANDLE handle) {
    std::string data(kMaxReparseData, '\0');
    DWORD returned = 0;
    if (!::DeviceIoControl(handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(), static_cast<DWORD>(data.size()),
                           &returned, nullptr)) {
        return std::nullopt;
    }
    data.resize(returned);
    return platform::DecodeFolderLinkData(data);
}

// Deletes what the handle holds (opened with DELETE access), a read-only
// mark taken off first.
bool DeleteThrough(HANDLE handle) {
    if (const std::optional<DWORD> attributes = AttributesOf(handle);
        attributes && (*attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetAttributesOf(handle, *attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}

class HandleReader final : public platform::FileReader {
public:
    explicit HandleReader(UniqueHandle file) : file_(std::move(file)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        return ::ReadFile(file_.Get(), buffer, chunk, &read, nullptr) ? read : 0;
    }

private:
    UniqueHandle file_;
};

class HandleWriter final : public platform::FileWriter {
public:
    explicit HandleWriter(UniqueHandle file) : file_(std::move(file)) {}
    bool Write(const char* data, std::size_t size) override {
        while (size > 0) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            if (!::WriteFile(file_.Get(), data, chunk, &written, nullptr) || written == 0) return false;
            data += written;
            size -= written;
        }
        return true;
    }
    bool SetAttributes(std::uint32_t attributes) override { return SetAttributesOf(file_.Get(), attributes); }

private:
    UniqueHandle file_;
};

class Win32FolderHandle final : public platform::FolderHandle {
public:
    explicit Win32FolderHandle(UniqueHandle folder) : folder_(std::move(folder)) {}

    std::optional<std::vector<platform::DirEntry>> List() override {
        std::vector<std::uint64_t> buffer(kListingBufferBytes / sizeof(std::uint64_t));
        const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
        std::vector<platform::DirEntry> entries;
        // From the first entry, however often the folder was listed before.
        FILE_INFO_BY_HANDLE_CLASS kind = FileFullDirectoryRestartInfo;
        while (::GetFileInformationByHandleEx(folder_.Get(), kind, buffer.data(), bytes)) {
            kind = FileFullDirectoryInfo;
            const char* at = reinterpret_cast<const char*>(buffer.data());
            for (;;) {
                const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
                const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
                if (name != L"." && name != L"..") {
                    entries.push_back({Narrow(name), info->FileAttributes,
                                       static_cast<std::uint64_t>(info->EndOfFile.QuadPart)});
                }
                if (info->NextEntryOffset == 0) break;
                at += info->NextEntryOffset;
            }
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_NO_MORE_FILES && error != ERROR_FILE_NOT_FOUND) return std::nullopt;
        return entries;
    }

    std::unique_ptr<platform::FolderHandle> Folder(const std::string& name) override {
        UniqueHandle folder = OpenRelative(folder_.Get(), Widen(name), kFolderAccess, kOpenExisting, 0);
        const std::optional<DWORD> attributes = folder ? AttributesOf(folder.Get()) : std::nullopt;
        if (!attributes || !IsPlainFolder(*attributes)) return nullptr;
        return std::make_unique<Win32FolderHandle>(std::move(folder));
    }

    std::unique_ptr<platform::FolderHandle> NewFolder(const std::string& name) override {
        UniqueHandle folder =
            OpenRelative(folder_.Get(), Widen(name), kFolderAccess, kCreateNew, FILE_DIRECTORY_FILE);
        if (!folder) return nullptr;
        return std::make_unique<Win32FolderHandle>(std::move(folder));
    }

    std::unique_ptr<platform::FileReader> ReadFile(const std::string& name) override {
        UniqueHandle file = OpenRelative(folder_.Get(), Widen(name), FILE_GENERIC_READ, kOpenExisting,
                                         kNotAFolder | FILE_SEQUENTIAL_ONLY);
        const std::optional<DWORD> attributes = file ? AttributesOf(file.Get()) : std::nullopt;
        if (!attributes || (*attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
            return nullptr;
        }
        return std::make_unique<HandleReader>(std::move(file));
    }

    std::unique_ptr<platform::FileWriter> NewFile(const std::string& name) override {
        UniqueHandle file = OpenRelative(folder_.Get(), Widen(name), FILE_GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                         kCreateNew, kNotAFolder, FILE_SHARE_READ);
        if (!file) return nullptr;
        return std::make_unique<HandleWriter>(std::move(file));
    }

    bool NewLink(const std::string& name, const platform::FolderLink& link) override {
        if (link.kind == platform::FolderLinkKind::SymbolicLink) return NewSymbolicLink(name, link);
        const std::optional<std::string> data = platform::EncodeJunctionData(link);
        if (!data) return false;
        UniqueHandle folder = OpenRelative(folder_.Get(), Widen(name),
                                           FILE_WRITE_DATA | FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES | DELETE |
                                               SYNCHRONIZE,
                                           kCreateNew, FILE_DIRECTORY_FILE);
        if (!folder) return false;
        DWORD returned = 0;
        // Only a link that reads back as asked counts: some systems answer
        // the call without making one.
        if (!::DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, const_cast<char*>(data->data()),
                               static_cast<DWORD>(data->size()), nullptr, 0, &returned, nullptr) ||
            LinkOf(folder.Get()) != link) {
            DeleteThrough(folder.Get());
            return false;
        }
        return true;
    }

    bool Rename(const std::string& from, const std::string& to, bool replace) override {
        const std::wstring target = Widen(to);
        if (!IsOwnName(target)) return false;
        UniqueHandle entry = OpenRelative(folder_.Get(), Widen(from), DELETE | SYNCHRONIZE, kOpenExisting, 0);
        if (!entry) return false;
        std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFORMATION) + target.size() * sizeof(wchar_t));
        auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
        rename->ReplaceIfExists = replace ? TRUE : FALSE;
        // The new name is one of this folder's, whatever its path is now.
        // (The system's own call takes the name as a path of the current
        // folder on some systems, hence the native one.)
        rename->RootDirectory = folder_.Get();
        rename->FileNameLength = static_cast<ULONG>(target.size() * sizeof(wchar_t));
        std::copy(target.begin(), target.end(), rename->FileName);
        IO_STATUS_BLOCK status{};
        const NTSTATUS result = ::NtSetInformationFile(entry.Get(), &status, rename, static_cast<ULONG>(buffer.size()),
                                                       FileRenameInformation);
        return NT_SUCCESS(result);
    }

    bool SetAttributes(const std::string& name, std::uint32_t attributes) override {
        UniqueHandle entry =
            OpenRelative(folder_.Get(), Widen(name), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                         kOpenExisting, 0);
        return entry && SetAttributesOf(entry.Get(), attributes);
    }

    bool Delete(const std::string& name) override {
        UniqueHandle entry = OpenRelative(folder_.Get(), Widen(name),
                                          DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                                          kOpenExisting, 0);
        return entry && DeleteThrough(entry.Get());
    }

    bool DeleteSelf() override {
        // The very folder this handle holds, opened again with the right to
        // delete it (asked for only now: a folder another program works in
        // cannot be opened so, and it can be listed all the same).
        UniqueHandle self(::ReOpenFile(folder_.Get(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                                       kShareAll, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT));
        return self && DeleteThrough(self.Get());
    }

private:
    // The system makes a symbolic link by path only: the folder's own path
    // as its handle names it, the link then checked through the handle.
    bool NewSymbolicLink(const std::string& name, const platform::FolderLink& link) {
        const std::optional<std::wstring> folder = FinalPathOfHandle(folder_.Get());
        const std::wstring wide = Widen(name);
        if (!folder || !IsOwnName(wide)) return false;
        const std::wstring path = *folder + (folder->back() == L'\\' ? L"" : L"\\") + wide;
        if (!MakeFolderLinkAt(path, link)) return false;
        UniqueHandle made = OpenRelative(folder_.Get(), wide, FILE_READ_ATTRIBUTES | SYNCHRONIZE, kOpenExisting, 0);
        return made && LinkOf(made.Get()) == link;
    }

    UniqueHandle folder_;
};

}  // namespace

std::unique_ptr<platform::FolderHandle> OpenFolderAt(const std::string& path, platform::LinkAtEnd atEnd) {
    const DWORD itself = atEnd == platform::LinkAtEnd::Refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    const std::wstring system = SystemPath(path);
    UniqueHandle folder(::CreateFileW(system.c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | itself, nullptr));
    const std::optional<DWORD> attributes = folder ? AttributesOf(folder.Get()) : std::nullopt;
    if (!attributes || (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return nullptr;
    if (atEnd == platform::LinkAtEnd::Refuse && (*attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return nullptr;
    return std::make_unique<Win32FolderHandle>(std::move(folder));
}

}  // namespace bastion::win32
