#include "platform/win32/Win32Crypto.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/Handles.h"

#include <bcrypt.h>

namespace bastion::win32 {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

// Owners of the CNG handles.
struct AlgorithmTraits {
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::BCryptCloseAlgorithmProvider(h, 0); }
};
struct KeyTraits {
    using Type = BCRYPT_KEY_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::BCryptDestroyKey(h); }
};
struct HashTraits {
    using Type = BCRYPT_HASH_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::BCryptDestroyHash(h); }
};
using Algorithm = UniqueResource<AlgorithmTraits>;
using Key = UniqueResource<KeyTraits>;
using Hash = UniqueResource<HashTraits>;

Algorithm OpenAlgorithm(const wchar_t* name) {
    Algorithm algorithm;
    if (!Succeeded(::BCryptOpenAlgorithmProvider(algorithm.Receive(), name, nullptr, 0))) algorithm.Release();
    return algorithm;
}

PUCHAR Bytes(std::string_view text) { return reinterpret_cast<PUCHAR>(const_cast<char*>(text.data())); }

}  // namespace

std::optional<platform::Sha256Digest> Win32Crypto::Sha256(std::string_view bytes) {
    const Algorithm sha256 = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    if (!sha256) return std::nullopt;
    // BCryptHash, the one-call form, arrived with Windows 10; the three
    // calls work from Windows 7 on.
    Hash hash;
    if (!Succeeded(::BCryptCreateHash(sha256.Get(), hash.Receive(), nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    // One call takes at most a ULONG of bytes.
    for (std::size_t done = 0; done < bytes.size();) {
        const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!Succeeded(::BCryptHashData(hash.Get(), Bytes(bytes.substr(done)), chunk, 0))) return std::nullopt;
        done += chunk;
    }
    platform::Sha256Digest digest{};
    if (!Succeeded(::BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        return std::nullopt;
    }
    return digest;
}

std::optional<platform::Sha256Digest> Sha256OfPieces(
    char* buffer, std::size_t size, const std::function<std::optional<std::size_t>(char*, std::size_t)>& read) {
    const Algorithm sha256 = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    if (!sha256) return std::nullopt;
    Hash hash;
    if (!Succeeded(::BCryptCreateHash(sha256.Get(), hash.Receive(), nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    const std::size_t piece = std::min<std::size_t>(size, 1u << 30);
    for (;;) {
        const std::optional<std::size_t> got = read(buffer, piece);
        if (!got) return std::nullopt;
        if (*got == 0) break;
        if (!Succeeded(::BCryptHashData(hash.Get(), reinterpret_cast<PUCHAR>(buffer), static_cast<ULONG>(*got), 0))) {
            return std::nullopt;
        }
    }
    platform::Sha256Digest digest{};
    if (!Succeeded(::BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        return std::nullopt;
    }
    return digest;
}

bool Win32Crypto::VerifyP256(std::string_view publicKey, const platform::Sha256Digest& digest,
                             std::string_view signature) {
    if (publicKey.size() != platform::kP256PublicKeySize || publicKey[0] != 0x04 ||
        signature.size() != platform::kP256SignatureSize) {
        return false;
    }
    const Algorithm ecdsa = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!ecdsa) return false;
    // The blob is the header and X, Y without the point's leading 0x04.
    std::vector<unsigned char> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::memcpy(blob.data(), &header, sizeof(header));
    std::memcpy(blob.data() + sizeof(header), publicKey.data() + 1, 64);
    Key key;
    if (!Succeeded(::BCryptImportKeyPair(ecdsa.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, key.Receive(), blob.data(),
                                         static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    platform::Sha256Digest hashed = digest;
    return Succeeded(::BCryptVerifySignature(key.Get(), nullptr, hashed.data(), static_cast<ULONG>(hashed.size()),
                                             Bytes(signature), static_cast<ULONG>(signature.size()), 0));
}

}  // namespace bastion::win32
