// SHA-256 and the ECDSA P-256 check through Windows' own cryptography (CNG);
// SHA-256 with the processor's SHA extensions where it has them.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "platform/Crypto.h"
#include "platform/Sha256.h"

namespace bastion::win32 {

class Win32Crypto final : public platform::Crypto {
public:
    std::optional<platform::Sha256Digest> Sha256(std::string_view bytes) override;
    bool VerifyP256(std::string_view publicKey, const platform::Sha256Digest& digest,
                    std::string_view signature) override;
};

// One SHA-256 fed piece by piece: the program's own with the processor's SHA
// extensions where it has them (Windows 7 and 8 hash without them, and
// Wine's CNG at a fifth of a disk's speed), CNG otherwise.
class Sha256Stream {
public:
    enum class Engine { Fastest, Cng };
    explicit Sha256Stream(Engine engine = Engine::Fastest);
    ~Sha256Stream();
    Sha256Stream(const Sha256Stream&) = delete;
    Sha256Stream& operator=(const Sha256Stream&) = delete;

    // False when the system could not hash (then Finish gives nothing).
    bool Add(const char* bytes, std::size_t size);
    std::optional<platform::Sha256Digest> Finish();

    bool UsesShaExtensions() const { return own_.has_value(); }

private:
    struct Cng;
    std::optional<platform::Sha256Hasher> own_;
    std::unique_ptr<Cng> cng_;
    bool failed_ = false;
};

}  // namespace bastion::win32
