// The signed wrapper of the definition server's answers: any bytes split at
// their signature record and read as a delta header and as a date answer,
// as sent (refused unless signed) and signed with the test key (accepted
// only when the header holds, counts the records and names the dates).
#include "common/Base64.h"
#include "harness/FuzzTarget.h"
#include "support/FakeCrypto.h"
#include "update/SignedAnswer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using bastion::testing::FakeCrypto;
    const std::string_view bytes = bastion::fuzz::AsBytes(data, size);
    FakeCrypto crypto;
    const std::string key = FakeCrypto::Key(1);
    const bastion::DateTime first = *bastion::ParseGeneralDate("3/16/2006");
    if (const auto split = bastion::SplitSignedAnswer(bytes)) {
        FUZZ_CHECK(split->signedPart.size() < bytes.size());
        FUZZ_CHECK(split->signature.size() == bastion::platform::kP256SignatureSize);
    }
    FUZZ_CHECK(!bastion::VerifyDefinitionDelta(crypto, key, bytes, first, first) || bastion::SplitSignedAnswer(bytes));
    FUZZ_CHECK(!bastion::VerifyDateAnswer(crypto, key, bytes) || bastion::SplitSignedAnswer(bytes));
    bastion::ReadDateAnswer(bytes);

    const std::string resigned =
        std::string(bytes) + "[BR]SIGNATURE|" + bastion::Base64Encode(FakeCrypto::Sign(key, bytes));
    const std::optional<bastion::DeltaHeader> header = bastion::ParseDeltaHeader(bytes);
    const std::optional<bastion::DateTime> from = header ? bastion::ParseGeneralDate(header->from) : std::nullopt;
    const std::optional<bastion::DateTime> to = header ? bastion::ParseGeneralDate(header->to) : std::nullopt;
    const auto verified = bastion::VerifyDefinitionDelta(crypto, key, resigned, from.value_or(first), to.value_or(first));
    if (verified) FUZZ_CHECK(header && verified->parsed.actions == header->count && to && verified->to == *to);
    if (const auto date = bastion::VerifyDateAnswer(crypto, key, resigned)) {
        FUZZ_CHECK(date->issued && bastion::ParseUtcTime(bastion::FormatUtcTime(*date->issued)) == date->issued);
    }
    return 0;
}
