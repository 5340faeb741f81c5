// The definition date the server answers with: cleaned and parsed as the
// update compares it. A date that parses must come back the same through
// its written form, since that form is what "date.dat" keeps and the next
// request sends.
#include "common/DateTime.h"
#include "harness/FuzzTarget.h"
#include "update/DefinitionDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string cleaned = bastion::CleanDateAnswer(bastion::fuzz::AsBytes(data, size));
    const std::optional<bastion::DateTime> date = bastion::ParseGeneralDate(cleaned);
    if (date) {
        const std::optional<bastion::DateTime> again = bastion::ParseGeneralDate(bastion::FormatGeneralDate(*date));
        FUZZ_CHECK(again.has_value() && *again == *date);
    }
    return 0;
}
