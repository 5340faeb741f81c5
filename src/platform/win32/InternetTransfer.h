// One GET running on a worker thread. The worker owns every WinINet handle
// and shares nothing with the program but this transfer: the bytes it has
// received, how the answer ended, and an event that it sets whenever there
// is something new. An asker that leaves early abandons the transfer; the
// worker then ends at its next chunk or when its own time-outs run out, and
// the last of the two frees it.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Internet.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Internet.h"

namespace bastion::win32 {

class InternetTransfer {
public:
    // Starts the worker; nullptr when no thread could be started.
    static std::shared_ptr<InternetTransfer> Start(const std::string& url, const InternetLimits& limits);

    InternetTransfer(std::string url, const InternetLimits& limits);
    InternetTransfer(const InternetTransfer&) = delete;
    InternetTransfer& operator=(const InternetTransfer&) = delete;

    // Set when bytes arrived or the answer ended.
    HANDLE Changed() const { return changed_.Get(); }
    // Moves the bytes received since the last call to the end of
    // result.body and the running total after each of their chunks to
    // totals; once the answer has ended, fills in the rest of result and
    // returns true.
    bool Take(platform::HttpResult& result, std::vector<std::size_t>& totals);
    // The asker has left: the worker stops reading.
    void Abandon();

private:
    static DWORD WINAPI ThreadMain(void* parameter);
    void Run();
    // From the worker: bytes arrived (received in all so far), or the
    // answer ended as result says.
    bool Deliver(const char* bytes, std::size_t size, std::size_t received);
    void Finish(const platform::HttpResult& result);

    const std::string url_;
    const InternetLimits limits_;
    UniqueHandle changed_;
    std::mutex lock_;
    std::string pending_;
    std::vector<std::size_t> pendingTotals_;
    bool done_ = false;
    bool abandoned_ = false;
    platform::HttpResult ending_;
};

}  // namespace bastion::win32
