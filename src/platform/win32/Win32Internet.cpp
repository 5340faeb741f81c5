#include "platform/win32/Win32Internet.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

constexpr DWORD kChunkSize = 256;

int StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        return 0;
    }
    return static_cast<int>(status);
}

}  // namespace

platform::HttpResult Win32Internet::Get(const std::string& url, const std::function<void(std::size_t)>& onChunk) {
    platform::HttpResult result;
    UniqueInternetHandle session(::InternetOpenW(L"Mozilla", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) {
        return result;
    }
    // Always a fresh answer from the server: definition dates and updates
    // must never come out of a cache. No dialog either: the automatic update
    // runs while nobody watches.
    UniqueInternetHandle request(::InternetOpenUrlW(
        session.Get(), Widen(url).c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI,
        0));
    if (!request) {
        return result;
    }
    result.ok = true;
    result.status = StatusCode(request.Get());
    char buffer[kChunkSize];
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request.Get(), buffer, kChunkSize, &read) || read == 0) {
            break;
        }
        result.body.append(buffer, read);
        if (onChunk) {
            onChunk(result.body.size());
        }
    }
    return result;
}

}  // namespace bastion::win32
