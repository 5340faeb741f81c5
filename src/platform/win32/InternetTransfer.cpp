#include "platform/win32/InternetTransfer.h"

#include <optional>

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

// The length the server announced, when it announced one.
std::optional<unsigned long long> ContentLength(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof(text);
    if (!::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return std::nullopt;
    unsigned long long length = 0;
    bool digits = false;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c == L' ') continue;
        if (*c < L'0' || *c > L'9') return std::nullopt;
        length = length * 10 + static_cast<unsigned long long>(*c - L'0');
        digits = true;
        if (length > (1ull << 48)) return length;
    }
    if (!digits) return std::nullopt;
    return length;
}

void SetTimeout(HINTERNET handle, DWORD option, unsigned long milliseconds) {
    DWORD value = milliseconds;
    ::InternetSetOptionW(handle, option, &value, sizeof(value));
}

platform::HttpFailure ReadFailure() {
    return ::GetLastError() == ERROR_INTERNET_TIMEOUT ? platform::HttpFailure::TimedOut
                                                      : platform::HttpFailure::ReadFailed;
}

}  // namespace

InternetTransfer::InternetTransfer(std::string url, const InternetLimits& limits)
    : url_(std::move(url)), limits_(limits), changed_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

std::shared_ptr<InternetTransfer> InternetTransfer::Start(const std::string& url, const InternetLimits& limits) {
    auto transfer = std::make_shared<InternetTransfer>(url, limits);
    if (!transfer->changed_) return nullptr;
    // The worker holds its own share: it may outlive an asker that left.
    auto* share = new std::shared_ptr<InternetTransfer>(transfer);
    UniqueHandle thread(::CreateThread(nullptr, 0, &InternetTransfer::ThreadMain, share, 0, nullptr));
    if (!thread) {
        delete share;
        return nullptr;
    }
    return transfer;
}

DWORD WINAPI InternetTransfer::ThreadMain(void* parameter) {
    using Share = std::shared_ptr<InternetTransfer>;
    const std::unique_ptr<Share> share(static_cast<Share*>(parameter));
    (*share)->Run();
    return 0;
}

bool InternetTransfer::Take(platform::HttpResult& result, std::vector<std::size_t>& totals) {
    std::lock_guard<std::mutex> hold(lock_);
    result.body += pending_;
    pending_.clear();
    totals.insert(totals.end(), pendingTotals_.begin(), pendingTotals_.end());
    pendingTotals_.clear();
    if (!done_) return false;
    result.ok = ending_.ok;
    result.status = ending_.status;
    result.failure = ending_.failure;
    return true;
}

void InternetTransfer::Abandon() {
    std::lock_guard<std::mutex> hold(lock_);
    abandoned_ = true;
    pending_.clear();
    pendingTotals_.clear();
}

bool InternetTransfer::Deliver(const char* bytes, std::size_t size, std::size_t received) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (abandoned_) return false;
        pending_.append(bytes, size);
        pendingTotals_.push_back(received);
    }
    ::SetEvent(changed_.Get());
    return true;
}

void InternetTransfer::Finish(const platform::HttpResult& result) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        ending_ = result;
        done_ = true;
    }
    ::SetEvent(changed_.Get());
}

void InternetTransfer::Run() {
    platform::HttpResult result;
    result.failure = platform::HttpFailure::Unreachable;
    // The system's proxy settings, as every other program of the machine
    // uses them.
    UniqueInternetHandle session(::InternetOpenW(L"Mozilla", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return Finish(result);
    // A server that stops answering must not hold the worker for ever.
    SetTimeout(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, limits_.connectTimeoutMs);
    SetTimeout(session.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.receiveTimeoutMs);
    SetTimeout(session.Get(), INTERNET_OPTION_SEND_TIMEOUT, limits_.receiveTimeoutMs);
    // Always a fresh answer from the server: definition dates and updates
    // must never come out of a cache. No dialog either: the automatic update
    // runs while nobody watches.
    UniqueInternetHandle request(::InternetOpenUrlW(
        session.Get(), Widen(url_).c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
    if (!request) {
        if (::GetLastError() == ERROR_INTERNET_TIMEOUT) result.failure = platform::HttpFailure::TimedOut;
        return Finish(result);
    }
    // The request takes its own waits: not every client hands the session's
    // on to the requests opened from it.
    SetTimeout(request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.receiveTimeoutMs);
    result.ok = true;
    result.failure = platform::HttpFailure::None;
    result.status = StatusCode(request.Get());
    const std::optional<unsigned long long> announced = ContentLength(request.Get());
    if (announced && *announced > limits_.maxBody) {
        result.failure = platform::HttpFailure::TooLarge;
        return Finish(result);
    }
    std::size_t received = 0;
    char buffer[kChunkSize];
    for (;;) {
        DWORD read = 0;
        const ULONGLONG asked = ::GetTickCount64();
        if (!::InternetReadFile(request.Get(), buffer, kChunkSize, &read)) {
            result.failure = ReadFailure();
            return Finish(result);
        }
        // Where the client does not end a read that waits too long itself,
        // a wait that was too long still fails the answer.
        if (::GetTickCount64() - asked > limits_.receiveTimeoutMs) {
            result.failure = platform::HttpFailure::TimedOut;
            return Finish(result);
        }
        if (read == 0) break;
        if (received + read > limits_.maxBody) {
            result.failure = platform::HttpFailure::TooLarge;
            return Finish(result);
        }
        received += read;
        if (!Deliver(buffer, read, received)) return Finish(result);
    }
    // A connection that ends early reads like a normal end: only the
    // announced length tells a cut-off answer from a whole one.
    if (announced && received != *announced) result.failure = platform::HttpFailure::Truncated;
    Finish(result);
}

}  // namespace bastion::win32
