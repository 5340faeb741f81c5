#include "report/Feedback.h"

#include "report/FeedbackRequests.h"
#include "services/operations/TimersHeld.h"
#include "services/waits/RequestWait.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace {

platform::HttpResult Request(const services::Services& services, const std::string& url) {
    return services.internet.Request({url}, services::RequestWait(services.pump, services.operations));
}

}  // namespace

void SendAnonymousData(const services::Services& services) {
    services::OperationGate::Operation operation = services.operations.TryBegin("anonymous data");
    if (!operation) return;
    const services::TimersHeld held(services.background);
    const std::string data = CollectRunningProcessNames(services.processes, services.codePage);
    // The answer does not matter: the data is a contribution, not a task.
    for (const std::string& url : AnonymousDataUrls(DefinitionServerBase(services.settings), data)) {
        Request(services, url);
    }
}

bool SubmitFileName(const services::Services& services, std::string_view fileName) {
    const std::optional<std::string> url =
        FileNameUrl(DefinitionServerBase(services.settings), fileName, services.codePage);
    if (!url) return false;
    const services::TimersHeld held(services.background);
    const platform::HttpResult answer = Request(services, *url);
    return AnswerAccepts(answer, "Skipped") || AnswerAccepts(answer, "Added");
}

FalsePositiveAnswer ReportFalsePositives(const services::Services& services, const std::vector<std::string>& locations,
                                         std::string_view description) {
    const std::vector<std::string> urls =
        FalsePositiveUrls(DefinitionServerBase(services.settings), locations, description);
    if (urls.empty()) return {FalsePositiveOutcome::TooLong, {}};
    const services::TimersHeld held(services.background);
    for (const std::string& url : urls) {
        platform::HttpResult answer = Request(services, url);
        if (!AnswerAccepts(answer, "OK")) return {FalsePositiveOutcome::Refused, std::move(answer.body)};
    }
    return {};
}

}  // namespace bastion
