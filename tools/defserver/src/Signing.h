// The vendor's signature on what the server sends: an ECDSA P-256 key pair
// in a PEM file ("defserver keygen"), the signature of an answer as the
// program checks it (r then s, 32 bytes each, big-endian, SHA-256 of the
// bytes as sent), and the record that carries it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct evp_pkey_st;

namespace defserver {

class Signer {
public:
    // The private key of a PEM file; nullptr (and why in error) when it
    // cannot be read or is no P-256 key.
    static std::unique_ptr<Signer> Load(const std::string& pemPath, std::string& error);
    // A new key pair, written to pemPath (readable by its owner only). An
    // existing file is never overwritten: it may be the key a published
    // build trusts.
    static std::unique_ptr<Signer> Generate(const std::string& pemPath, std::string& error);
    ~Signer();
    Signer(const Signer&) = delete;
    Signer& operator=(const Signer&) = delete;

    // The 64 signature bytes; empty when signing failed.
    std::string Sign(std::string_view bytes) const;
    // The uncompressed public point (65 bytes), as the program holds it.
    std::string PublicKey() const;

private:
    explicit Signer(evp_pkey_st* key) : key_(key) {}
    evp_pkey_st* key_;
};

// Whether signature is the 64-byte signature of bytes by the 65-byte point.
bool VerifySignature(std::string_view publicKey, std::string_view bytes, std::string_view signature);

// The answer with its signature record: bytes "[BR]SIGNATURE|" base64.
std::string WithSignature(const Signer& signer, const std::string& bytes);

}  // namespace defserver
