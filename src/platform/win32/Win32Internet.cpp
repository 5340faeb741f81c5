#include "platform/win32/Win32Internet.h"

#include <algorithm>

#include "platform/win32/InternetTransfer.h"

namespace bastion::win32 {

namespace {

// The longest the asking thread sleeps between two looks at its window's
// events, its cancel and its deadline.
constexpr ULONGLONG kLongestWaitMs = 50;

}  // namespace

platform::HttpResult Win32Internet::Request(const platform::HttpRequest& request,
                                            const platform::HttpWaiting& waiting) {
    platform::HttpResult result;
    result.failure = platform::HttpFailure::Unreachable;
    const std::shared_ptr<InternetTransfer> transfer = InternetTransfer::Start(request.url, limits_);
    if (!transfer) return result;
    result.failure = platform::HttpFailure::None;
    const ULONGLONG deadline =
        ::GetTickCount64() + static_cast<ULONGLONG>(std::max<long long>(0, request.deadline.count()));
    std::vector<std::size_t> totals;
    auto leave = [&](platform::HttpFailure why) {
        transfer->Abandon();
        result.failure = why;
        return result;
    };
    for (;;) {
        const bool done = transfer->Take(result, totals);
        for (const std::size_t total : totals) {
            if (waiting.onChunk) waiting.onChunk(total);
        }
        totals.clear();
        if (done) return result;
        if (waiting.cancelled && waiting.cancelled()) return leave(platform::HttpFailure::Cancelled);
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return leave(platform::HttpFailure::TimedOut);
        const DWORD wait = static_cast<DWORD>(std::min(kLongestWaitMs, deadline - now));
        const HANDLE changed = transfer->Changed();
        if (waiting.pump) {
            // Wakes for the worker and for the window's input alike.
            ::MsgWaitForMultipleObjectsEx(1, &changed, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            waiting.pump();
        } else {
            ::WaitForSingleObject(changed, wait);
        }
    }
}

}  // namespace bastion::win32
