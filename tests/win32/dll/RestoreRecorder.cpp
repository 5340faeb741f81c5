// A stand-in for the system's srclient.dll: SRSetRestorePointW records every
// request, begins restore point 41 (or refuses one described as "refuse"),
// and RecordedRequests hands the requests to the test that loaded it.
#include <windows.h>
#include <srrestoreptapi.h>

namespace {

constexpr int kMostRequests = 8;
RESTOREPOINTINFOW requests[kMostRequests];
int requestCount = 0;

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI SRSetRestorePointW(PRESTOREPOINTINFOW info, PSTATEMGRSTATUS status) {
    if (requestCount < kMostRequests) requests[requestCount++] = *info;
    if (info->dwEventType == BEGIN_SYSTEM_CHANGE && lstrcmpW(info->szDescription, L"refuse") == 0) {
        status->nStatus = ERROR_SERVICE_DISABLED;
        return FALSE;
    }
    status->nStatus = ERROR_SUCCESS;
    status->llSequenceNumber = info->dwEventType == BEGIN_SYSTEM_CHANGE ? 41 : info->llSequenceNumber;
    return TRUE;
}

extern "C" __declspec(dllexport) int WINAPI RecordedRequests(RESTOREPOINTINFOW* out, int most) {
    int copied = 0;
    for (; copied < requestCount && copied < most; ++copied) out[copied] = requests[copied];
    return copied;
}
