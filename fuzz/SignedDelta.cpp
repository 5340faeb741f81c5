// The signed wrapper of the definition server's answers: any bytes split at
// their signature record and read as a delta header, as sent (refused
// unless signed) and signed with the test key (accepted only when the
// header holds and counts the records).
#include "common/Base64.h"
#include "harness/FuzzTarget.h"
#include "support/FakeCrypto.h"
#include "update/SignedAnswer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using bastion::testing::FakeCrypto;
    const std::string_view bytes = bastion::fuzz::AsBytes(data, size);
    FakeCrypto crypto;
    const std::string key = FakeCrypto::Key(1);
    if (const auto split = bastion::SplitSignedAnswer(bytes)) {
        FUZZ_CHECK(split->signedPart.size() < bytes.size());
        FUZZ_CHECK(split->signature.size() == bastion::platform::kP256SignatureSize);
    }
    FUZZ_CHECK(!bastion::VerifyDefinitionDelta(crypto, key, bytes, "3/16/2006") ||
               bastion::SplitSignedAnswer(bytes));

    const std::string resigned =
        std::string(bytes) + "[BR]SIGNATURE|" + bastion::Base64Encode(FakeCrypto::Sign(key, bytes));
    const std::optional<bastion::DeltaHeader> header = bastion::ParseDeltaHeader(bytes);
    const auto verified = bastion::VerifyDefinitionDelta(crypto, key, resigned, header ? header->from : "");
    if (verified) FUZZ_CHECK(header && verified->parsed.actions == header->count && verified->to == header->to);
    return 0;
}
