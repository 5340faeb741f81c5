// The ways Windows offers to list a folder, called directly, so that their
// cost under Wine can be compared with each other and with what the walk
// pays. Each lists one folder (a path ending in "\") into name and
// attributes, "." and ".." left out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace bastion::bench {

struct RawEntry {
    std::wstring name;
    DWORD attributes = 0;
};

using RawLister = std::function<bool(const std::wstring& folder, std::vector<RawEntry>& out)>;

struct ListingCall {
    const char* name;
    RawLister list;
};

// FindFirstFileExW with FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH: the
// bare enumeration every other way is measured against.
bool ListByFind(const std::wstring& folder, std::vector<RawEntry>& out);

// Every way compared, the bare enumeration first.
std::vector<ListingCall> ListingCalls();

// The entries of the tree below folder, descending into every folder that
// is no reparse point, as a walk does.
std::size_t EnumerateRaw(const RawLister& list, const std::wstring& folder);

// The same spread over threads that take folders from one shared stack: how
// fast the machine lists with more than one thread at a time, whatever the
// order the entries come in.
std::size_t EnumerateRawInParallel(const RawLister& list, const std::wstring& folder, int threads);

}  // namespace bastion::bench
