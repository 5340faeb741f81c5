#include "DefinitionServer.h"

#include <httplib.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "DeltaEncoding.h"
#include "Misbehaviour.h"

namespace defserver {

namespace {

constexpr const char* kText = "text/plain";

std::string Param(const std::map<std::string, std::string>& params, const std::string& name) {
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
}

}  // namespace

DefinitionServer::DefinitionServer(ServerOptions options, std::unique_ptr<FeedbackStore> feedback,
                                   std::unique_ptr<Signer> signer)
    : options_(std::move(options)),
      changes_(options_.changes, options_.report, LocalNow),
      feedback_(std::move(feedback)),
      signer_(std::move(signer)),
      feedbackLimit_(options_.feedbackPerMinute),
      http_(std::make_unique<httplib::Server>()) {
    Route();
}

void DefinitionServer::Route() {
    // The program sends no body; a client that does is refused before its
    // body is read (413). A longer request line gets 414.
    http_->set_payload_max_length(kMaxRequestBody);
    // Answers a request as it should, or misbehaves as its address asks.
    auto answer = [this](const httplib::Request& request, httplib::Response& response, const std::string& name,
                         const Answer& plain) {
        const std::string mode = options_.testControl ? request.matches[1].str() : "";
        const std::string only = options_.testControl ? request.matches[2].str() : "";
        if (!mode.empty() && plain.status == 200 && (only.empty() || only == name)) {
            Misbehave(mode, plain, options_.slowPauseMs, stopping_, response);
            return;
        }
        response.status = plain.status;
        response.set_content(plain.body, kText);
    };
    // Without test control the misbehaving addresses do not exist.
    const std::string prefix =
        options_.testControl ? R"((?:/misbehave/(status|html|short|slow|trickle|hang|tamper|drop|replay)(?:-(\w+))?)?)" : "()()";
    http_->Get(prefix + R"(/asp/(\w+)\.asp)", [this, answer](const httplib::Request& request,
                                                             httplib::Response& response) {
        Log(request.target);
        std::map<std::string, std::string> params(request.params.begin(), request.params.end());
        const std::string name = request.matches[3].str();
        if (name == "getData" || name == "submitFP") {
            if (!feedbackLimit_.Allow(request.remote_addr)) {
                response.status = 429;
                response.set_content("ERROR: too many requests", kText);
                return;
            }
            answer(request, response, name, Feedback(name, params));
            return;
        }
        if (options_.testControl && request.matches[1].str() == "replay") {
            params["date"] = bastion::FormatGeneralDate(EmptyLogDate());
        }
        answer(request, response, name, Respond(name, params));
    });
    http_->Get(prefix + R"(/Languages/(\d{1,9})/Localization\.txt)",
               [this, answer](const httplib::Request& request, httplib::Response& response) {
                   Log(request.target);
                   answer(request, response, "Localization", LanguageFile(request.matches[3].str()));
               });
    if (!options_.testControl) return;
    http_->Get("/test/stop", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content("stopping", kText);
        Stop();
    });
    http_->Get("/test/feedback", [this](const httplib::Request& request, httplib::Response& response) {
        std::string body;
        if (feedback_) {
            std::lock_guard<std::mutex> hold(feedbackLock_);
            for (const std::vector<std::string>& row : feedback_->Rows(request.get_param_value("table"))) {
                for (const std::string& text : row) body += std::to_string(text.size()) + ":" + text;
            }
        }
        response.set_content(body, "application/octet-stream");
    });
}

DefinitionServer::~DefinitionServer() = default;

Answer DefinitionServer::Respond(const std::string& name, const std::map<std::string, std::string>& params) {
    if (name != "currentDateNEW" && name != "date" && name != "getDefsNEW") return {404, "not found"};
    // Without its folder the server knows no date; the first day's would
    // send every client back to the beginning.
    const std::optional<ChangeLog> log = changes_.Read();
    if (!log) return {503, "ERROR: the definitions are not available"};
    if (name != "getDefsNEW") return {200, bastion::FormatGeneralDate(LatestDate(*log))};
    const std::string asked = Param(params, "date");
    const std::optional<bastion::DateTime> since = bastion::ParseGeneralDate(asked);
    if (!since) return {400, "no date"};
    const std::string records = DeltaSince(*log, *since);
    if (!signer_) return {200, records};
    // The date the client asked with, as it sent it, and the date it holds
    // after applying: what the signature vouches for besides the records.
    const std::size_t count = ChangesSince(*log, *since);
    const bastion::DateTime to = std::max(LatestDate(*log), *since);
    return {200, WithSignature(*signer_, "DELTA|" + asked + "|" + bastion::FormatGeneralDate(to) + "|" +
                                             std::to_string(count) + "[BR]" + records)};
}

Answer DefinitionServer::Feedback(const std::string& name, const std::map<std::string, std::string>& params) {
    if (!feedback_) return {503, "ERROR"};
    std::lock_guard<std::mutex> hold(feedbackLock_);
    if (name == "getData") {
        return feedback_->AddData(Param(params, "data")) ? Answer{200, "Added"} : Answer{500, "ERROR"};
    }
    return feedback_->AddFalsePositive(Param(params, "files"), Param(params, "details")) ? Answer{200, "OK"}
                                                                                          : Answer{500, "ERROR"};
}

Answer DefinitionServer::LanguageFile(const std::string& number) {
    if (options_.languages.empty()) return {404, "not found"};
    std::ifstream in(options_.languages / number / "Localization.txt", std::ios::binary);
    if (!in) return {404, "not found"};
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return {200, signer_ ? WithSignature(*signer_, body) : body};
}

int DefinitionServer::Bind(const std::string& host, int port) {
    if (port == 0) return http_->bind_to_any_port(host);
    return http_->bind_to_port(host, port) ? port : -1;
}

bool DefinitionServer::Listen() { return http_->listen_after_bind(); }

void DefinitionServer::Stop() {
    stopping_ = true;
    http_->stop();
}

void DefinitionServer::Log(const std::string& line) {
    if (options_.requestLog.empty()) return;
    std::lock_guard<std::mutex> hold(logLock_);
    std::ofstream(options_.requestLog, std::ios::app | std::ios::binary) << line << "\n";
}

}  // namespace defserver
