// COM for the thread that creates it, for as long as it lives: the user
// interface thread enters a single-threaded apartment at start (the folder
// browser, the shell's verbs and the restore-point call need one) and
// leaves it at the end. A thread where COM was already entered keeps it.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <objbase.h>

namespace bastion::win32 {

class ComApartment {
public:
    ComApartment() : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (entered_) ::CoUninitialize();
    }

    bool Entered() const { return entered_; }

private:
    bool entered_;
};

}  // namespace bastion::win32
