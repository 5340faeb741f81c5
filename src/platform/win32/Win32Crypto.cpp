#include "platform/win32/Win32Crypto.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/Handles.h"

#include <bcrypt.h>

namespace bastion::win32 {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

// Owners of the CNG handles (named: Sha256Stream keeps two of them).
namespace cng {

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

}  // namespace cng

namespace {

using cng::Algorithm;
using cng::Hash;
using cng::Key;

Algorithm OpenAlgorithm(const wchar_t* name) {
    Algorithm algorithm;
    if (!Succeeded(::BCryptOpenAlgorithmProvider(algorithm.Receive(), name, nullptr, 0))) algorithm.Release();
    return algorithm;
}

PUCHAR Bytes(std::string_view text) { return reinterpret_cast<PUCHAR>(const_cast<char*>(text.data())); }

}  // namespace

struct Sha256Stream::Cng {
    Algorithm algorithm;
    Hash hash;
};

Sha256Stream::Sha256Stream(Engine engine) {
    if (engine == Engine::Fastest && platform::ProcessorHasShaExtensions()) {
        own_.emplace(platform::Sha256Hasher::Method::ShaExtensions);
        return;
    }
    cng_ = std::make_unique<Cng>();
    cng_->algorithm = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    // BCryptHash, the one-call form, arrived with Windows 10; the three
    // calls work from Windows 7 on.
    failed_ = !cng_->algorithm ||
              !Succeeded(::BCryptCreateHash(cng_->algorithm.Get(), cng_->hash.Receive(), nullptr, 0, nullptr, 0, 0));
}

Sha256Stream::~Sha256Stream() = default;

bool Sha256Stream::Add(const char* bytes, std::size_t size) {
    if (failed_) return false;
    if (own_) {
        own_->Add(bytes, size);
        return true;
    }
    // One call takes at most a ULONG of bytes.
    for (std::size_t done = 0; done < size;) {
        const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(size - done, 1u << 30));
        PUCHAR from = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes + done));
        if (!Succeeded(::BCryptHashData(cng_->hash.Get(), from, chunk, 0))) {
            failed_ = true;
            return false;
        }
        done += chunk;
    }
    return true;
}

std::optional<platform::Sha256Digest> Sha256Stream::Finish() {
    if (failed_) return std::nullopt;
    if (own_) return own_->Finish();
    platform::Sha256Digest digest{};
    if (!Succeeded(::BCryptFinishHash(cng_->hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        return std::nullopt;
    }
    return digest;
}

std::optional<platform::Sha256Digest> Win32Crypto::Sha256(std::string_view bytes) {
    Sha256Stream stream;
    if (!stream.Add(bytes.data(), bytes.size())) return std::nullopt;
    return stream.Finish();
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
