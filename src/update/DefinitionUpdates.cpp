#include "update/DefinitionUpdates.h"

#include <algorithm>
#include <utility>

#include "common/DateTime.h"
#include "common/Text.h"
#include "scan/state/StatusPage.h"
#include "update/DefinitionDate.h"
#include "update/DeltaApplier.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace {

constexpr std::string_view kConnecting = "Connecting to the definition server, please wait.";

std::optional<DateTime> DateAnswer(const std::optional<std::string>& answer) {
    if (!answer) return std::nullopt;
    return ParseGeneralDate(CleanDateAnswer(*answer));
}

}  // namespace

std::optional<std::string> HttpGetTextWithProgress(platform::Internet& internet, const std::string& url,
                                                   const std::function<void(const std::string&)>& status) {
    bool first = true;
    return platform::HttpGetText(internet, url, [&](std::size_t received) {
        if (!std::exchange(first, false) && status) {
            status("Downloaded " + ToDecimal(static_cast<long long>(received)) + " bytes.");
        }
    });
}

UpdateResult CheckForDefinitionUpdates(const UpdateContext& context, const UpdateProgress& progress) {
    auto report = [&](std::string_view text) {
        if (progress.status) progress.status(std::string(text));
    };
    auto stopped = [&] { return progress.stopRequested && progress.stopRequested(); };
    UpdateResult result;
    report(kConnecting);

    // A date.dat that holds no date asks for everything, as a missing one.
    const DateTime local =
        ParseGeneralDate(ReadDefinitionDate(context.files, context.codePage, context.dataFolder))
            .value_or(*ParseGeneralDate(kDefaultDefinitionDate));
    const std::optional<DateTime> server =
        DateAnswer(HttpGetTextWithProgress(context.internet, CurrentDateUrl(context.server, context.identity),
                                           progress.status));
    if (!server) return result;
    if (*server <= local) {
        result.outcome = UpdateOutcome::UpToDate;
        return result;
    }
    if (stopped()) {
        result.outcome = UpdateOutcome::Stopped;
        return result;
    }

    const std::optional<std::string> delta = HttpGetTextWithProgress(
        context.internet, DeltaUrl(context.server, context.identity, FormatGeneralDate(local)), progress.status);
    if (!delta) return result;
    const DeltaApplication applied =
        ApplyDefinitionDelta(context.files, context.dataFolder, *delta, {progress.status, progress.stopRequested});
    result.count = applied.count;
    result.walkDefinitionsChanged = applied.walkDefinitionsChanged;
    if (!applied.complete) {
        if (stopped()) result.outcome = UpdateOutcome::Stopped;
        return result;
    }
    // The server announced newer definitions; a delta without one usable
    // record is no update (an error page, a broken answer).
    if (applied.count == 0) return result;

    // Changes published after the first answer may be missing from the
    // delta: the stored date goes no further than that answer, so that the
    // next check asks for them again.
    const std::optional<DateTime> published = DateAnswer(platform::HttpGetText(context.internet, NewDateUrl(context.server)));
    const DateTime stored = published ? std::min(*published, *server) : *server;
    WriteDefinitionDate(context.files, context.codePage, context.dataFolder, FormatGeneralDate(stored));
    result.date = ReadDefinitionDate(context.files, context.codePage, context.dataFolder);
    result.outcome = UpdateOutcome::Updated;
    return result;
}

}  // namespace bastion
