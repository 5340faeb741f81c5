// SHA-256 of the program's own (FIPS 180-4), fed piece by piece: a portable
// form of the compression function, and one with the processor's SHA
// extensions (SHA256RNDS2, SHA256MSG1, SHA256MSG2), several times faster
// than the portable one and than the system's own SHA-256 on the Windows
// versions that do not use them. Content definitions are hashed at the
// speed of the disk only with the extensions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Crypto.h"

namespace bastion::platform {

// Whether this processor has the SHA extensions, and SSSE3 and SSE4.1,
// which their use here needs too (asked of cpuid once).
bool ProcessorHasShaExtensions();

class Sha256Hasher {
public:
    enum class Method { Portable, ShaExtensions };
    // The extensions where the processor has them, the portable form
    // otherwise.
    static Method Fastest();

    // The extensions are asked for only where the processor has them;
    // without them the portable form serves.
    explicit Sha256Hasher(Method method = Fastest());

    void Add(const void* bytes, std::size_t size);
    void Add(std::string_view bytes) { Add(bytes.data(), bytes.size()); }
    // The digest of everything added; the hasher then starts afresh.
    Sha256Digest Finish();

    Method UsedMethod() const { return method_; }

private:
    void Reset();
    void Blocks(const std::uint8_t* blocks, std::size_t count);

    Method method_;
    std::array<std::uint32_t, 8> state_{};
    // A block not yet full.
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t total_ = 0;
};

// The digest of bytes held in memory.
Sha256Digest Sha256Of(std::string_view bytes, Sha256Hasher::Method method = Sha256Hasher::Fastest());

}  // namespace bastion::platform
