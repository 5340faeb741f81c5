#include "update/DefinitionUpdates.h"

#include <algorithm>
#include <utility>

#include "common/DateTime.h"
#include "common/Text.h"
#include "update/DefinitionDate.h"
#include "update/DeltaApplier.h"
#include "update/KeptDeltas.h"
#include "update/SignedAnswer.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace {

constexpr std::string_view kConnecting = "Connecting to the definition server, please wait.";

std::optional<DateTime> DateAnswer(const std::optional<std::string>& answer) {
    if (!answer) return std::nullopt;
    const std::optional<ServerDate> date = ReadDateAnswer(*answer);
    if (!date) return std::nullopt;
    return date->date;
}

// What the delta answer holds, once it is trusted.
struct UsableDelta {
    ParsedDelta parsed;
    // The date a signed delta names; unsigned ones leave it to the server's
    // date answers.
    std::optional<DateTime> to;
};

}  // namespace

std::optional<std::string> HttpGetTextWithProgress(platform::Internet& internet, const platform::HttpRequest& request,
                                                   const UpdateProgress& progress) {
    bool first = true;
    platform::HttpWaiting waiting;
    waiting.onChunk = [&](std::size_t received) {
        if (!std::exchange(first, false) && progress.status) {
            progress.status("Downloaded " + ToDecimal(static_cast<long long>(received)) + " bytes.");
        }
    };
    waiting.pump = progress.pump;
    waiting.cancelled = progress.stopRequested;
    return platform::HttpGetText(internet, request, waiting);
}

UpdateResult CheckForDefinitionUpdates(const UpdateContext& context, const UpdateProgress& progress) {
    auto report = [&](std::string_view text) {
        if (progress.status) progress.status(std::string(text));
    };
    auto stopped = [&] { return progress.stopRequested && progress.stopRequested(); };
    UpdateResult result;
    auto end = [&](UpdateOutcome outcome) {
        // A stop while a request waited ends the request as a failure.
        result.outcome = stopped() ? UpdateOutcome::Stopped : outcome;
        return result;
    };
    report(kConnecting);

    // A date.dat that holds no date asks for everything, as a missing one;
    // none holds a date before the first day's.
    const DateTime first = *ParseGeneralDate(kDefaultDefinitionDate);
    const DateTime local = std::max(
        ParseGeneralDate(ReadDefinitionDate(context.files, context.codePage, context.dataFolder)).value_or(first),
        first);
    const std::optional<std::string> dateAnswer =
        HttpGetTextWithProgress(context.internet, {CurrentDateUrl(context.server, context.identity)}, progress);
    if (!dateAnswer) return end(UpdateOutcome::Failed);
    std::optional<DateTime> server;
    if (context.trust.Keyed()) {
        // Signed, and issued lately by the program's own clock: a network
        // that answers "nothing new" for ever, or plays back an old answer,
        // freezes nobody's definitions unnoticed.
        const std::optional<ServerDate> verified =
            context.trust.crypto ? VerifyDateAnswer(*context.trust.crypto, context.trust.publicKey, *dateAnswer)
                                 : std::nullopt;
        const std::optional<DateTime> now =
            context.clock ? std::optional<DateTime>(context.clock->UniversalNow()) : std::nullopt;
        if (!verified || !now || !IssuedRecently(*verified->issued, *now)) return end(UpdateOutcome::Unverified);
        result.confirmed = now;
        server = verified->date;
    } else {
        server = DateAnswer(dateAnswer);
        if (!server) return end(UpdateOutcome::Failed);
    }
    if (*server <= local) return end(UpdateOutcome::UpToDate);
    if (stopped()) return end(UpdateOutcome::Stopped);

    const std::string asked = FormatGeneralDate(local);
    const std::optional<std::string> answer = HttpGetTextWithProgress(
        context.internet, {DeltaUrl(context.server, context.identity, asked), kDeltaDeadline}, progress);
    if (!answer) return end(UpdateOutcome::Failed);
    UsableDelta delta;
    if (context.trust.Keyed()) {
        std::optional<VerifiedDelta> verified =
            context.trust.crypto
                ? VerifyDefinitionDelta(*context.trust.crypto, context.trust.publicKey, *answer, local, *server)
                : std::nullopt;
        if (!verified) return end(UpdateOutcome::Unverified);
        delta.parsed = std::move(verified->parsed);
        delta.to = verified->to;
    } else {
        delta.parsed = ParseDefinitionDelta(*answer);
        // The server announced newer definitions; an unsigned delta without
        // one usable record is no update (an error page, a broken answer).
        if (delta.parsed.records.empty()) return end(UpdateOutcome::Failed);
    }

    const DeltaApplication applied =
        ApplyDefinitionDelta(context.files, context.dataFolder, delta.parsed, {progress.status, progress.stopRequested});
    result.count = applied.count;
    result.walkDefinitionsChanged = applied.walkDefinitionsChanged;
    if (applied.fileFailed) return end(UpdateOutcome::NotSaved);
    if (!applied.complete) return end(UpdateOutcome::Stopped);

    DateTime stored = *server;
    if (delta.to) {
        // What the vendor signed, not an unsigned date answer. The delta is
        // kept as it came, for a run that must not trust the files.
        stored = *delta.to;
        KeepVerifiedDelta(context.files, context.dataFolder, *answer);
    } else if (const std::optional<DateTime> published = DateAnswer(platform::HttpGetText(
                   context.internet, {NewDateUrl(context.server)}, {{}, progress.pump, progress.stopRequested}))) {
        // Changes published after the first answer may be missing from the
        // delta: the stored date goes no further than that answer, so that
        // the next check asks for them again.
        stored = std::min(*published, *server);
    }
    // The date last: without it the next check applies the changes again,
    // which changes nothing, but it is no update.
    if (!WriteDefinitionDate(context.files, context.codePage, context.dataFolder, FormatGeneralDate(stored))) {
        return end(UpdateOutcome::NotSaved);
    }
    result.date = ReadDefinitionDate(context.files, context.codePage, context.dataFolder);
    result.outcome = result.count > 0 ? UpdateOutcome::Updated : UpdateOutcome::UpToDate;
    return result;
}

}  // namespace bastion
