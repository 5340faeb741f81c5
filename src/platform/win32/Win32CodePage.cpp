#include "platform/win32/Win32CodePage.h"

#include <limits>

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

namespace {

// UTF-7, UTF-8 and the ISO-2022 and GB18030 families refuse conversion
// flags and a default character.
bool TakesFlags(unsigned codePage) { return codePage < 50000 && codePage != 42; }

bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(std::numeric_limits<int>::max()); }

}  // namespace

Win32CodePage::Win32CodePage() : id_(::GetACP()) {}
Win32CodePage::Win32CodePage(unsigned id) : id_(id) {}

unsigned Win32CodePage::Id() const { return id_; }

std::string Win32CodePage::ToUtf8(std::string_view bytes) const {
    if (bytes.empty() || !FitsInt(bytes.size())) {
        return {};
    }
    int size = static_cast<int>(bytes.size());
    int length = ::MultiByteToWideChar(id_, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(id_, 0, bytes.data(), size, wide.data(), length);
    return Narrow(wide);
}

std::string Win32CodePage::FromUtf8(std::string_view text) const {
    std::wstring wide = Widen(text);
    if (wide.empty() || !FitsInt(wide.size())) {
        return {};
    }
    int size = static_cast<int>(wide.size());
    // Without best-fit mapping a character the code page lacks becomes the
    // default character instead of a look-alike letter.
    DWORD flags = TakesFlags(id_) ? WC_NO_BEST_FIT_CHARS : 0;
    const char* fallback = TakesFlags(id_) ? "?" : nullptr;
    int length = ::WideCharToMultiByte(id_, flags, wide.data(), size, nullptr, 0, fallback, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(id_, flags, wide.data(), size, bytes.data(), length, fallback, nullptr);
    return bytes;
}

}  // namespace bastion::win32
