#include "DefinitionServer.h"

#include <httplib.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "ChangeLog.h"
#include "DeltaEncoding.h"
#include "Feedback.h"

namespace defserver {

namespace {

constexpr const char* kText = "text/plain";
constexpr const char* kErrorPage =
    "<html><head><title>Server Error</title></head><body><h1>Server Error</h1>"
    "<p>The page cannot be displayed.</p></body></html>";

std::string Param(const std::map<std::string, std::string>& params, const std::string& name) {
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
}

void Misbehave(const std::string& mode, const Answer& answer, int slowPauseMs, httplib::Response& response) {
    if (mode == "status") {
        response.status = 500;
        response.set_content("Internal Server Error", kText);
    } else if (mode == "html") {
        response.status = 200;
        response.set_content(kErrorPage, "text/html");
    } else if (mode == "short") {
        // Announces more than it sends, then closes the connection.
        const std::string body = answer.body;
        response.set_content_provider(body.size() + 64, kText,
                                      [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                                          sink.write(body.data(), body.size());
                                          return false;
                                      });
    } else {
        // "slow": three pieces with pauses between them.
        const std::string body = answer.body;
        response.set_content_provider(
            body.size(), kText, [body, slowPauseMs](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                const std::size_t piece = std::max<std::size_t>(1, (body.size() + 2) / 3);
                const std::size_t size = std::min(piece, body.size() - offset);
                if (offset > 0) std::this_thread::sleep_for(std::chrono::milliseconds(slowPauseMs));
                sink.write(body.data() + offset, size);
                return true;
            });
    }
}

}  // namespace

DefinitionServer::DefinitionServer(ServerOptions options)
    : options_(std::move(options)), http_(std::make_unique<httplib::Server>()) {
    if (!options_.feedback.empty()) feedback_ = std::make_unique<Feedback>(options_.feedback);
    // Answers a request as it should, or misbehaves as its address asks.
    auto answer = [this](const httplib::Request& request, httplib::Response& response, const std::string& name,
                         const Answer& plain) {
        const std::string mode = request.matches[1].str();
        const std::string only = request.matches[2].str();
        if (!mode.empty() && plain.status == 200 && (only.empty() || only == name)) {
            Misbehave(mode, plain, options_.slowPauseMs, response);
            return;
        }
        response.status = plain.status;
        response.set_content(plain.body, kText);
    };
    http_->Get(R"((?:/misbehave/(status|html|short|slow)(?:-(\w+))?)?/asp/(\w+)\.asp)",
               [this, answer](const httplib::Request& request, httplib::Response& response) {
                   Log(request.target);
                   std::map<std::string, std::string> params(request.params.begin(), request.params.end());
                   const std::string name = request.matches[3].str();
                   answer(request, response, name, Respond(name, params));
               });
    http_->Get(R"((?:/misbehave/(status|html|short|slow)(?:-(\w+))?)?/Languages/(\d{1,9})/Localization\.txt)",
               [this, answer](const httplib::Request& request, httplib::Response& response) {
                   Log(request.target);
                   answer(request, response, "Localization", LanguageFile(request.matches[3].str()));
               });
    if (options_.testControl) {
        http_->Get("/test/stop", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content("stopping", kText);
            http_->stop();
        });
        http_->Get("/test/feedback", [this](const httplib::Request& request, httplib::Response& response) {
            std::string body;
            if (feedback_) {
                for (const std::vector<std::string>& row : feedback_->Rows(request.get_param_value("table"))) {
                    for (const std::string& text : row) body += std::to_string(text.size()) + ":" + text;
                }
            }
            response.set_content(body, "application/octet-stream");
        });
    }
}

DefinitionServer::~DefinitionServer() = default;

Answer DefinitionServer::Respond(const std::string& name, const std::map<std::string, std::string>& params) {
    if (name == "currentDateNEW" || name == "date") {
        return {200, bastion::FormatGeneralDate(LatestDate(ReadChangeLog(options_.changes)))};
    }
    if (name == "getDefsNEW") {
        const std::optional<bastion::DateTime> since = bastion::ParseGeneralDate(Param(params, "date"));
        if (!since) return {400, "no date"};
        return {200, DeltaSince(ReadChangeLog(options_.changes), *since)};
    }
    if (name == "getData" || name == "submitFP") {
        if (!feedback_ || !feedback_->Ok()) return {503, "ERROR"};
        if (name == "getData") {
            return feedback_->AddData(Param(params, "data")) ? Answer{200, "Added"} : Answer{500, "ERROR"};
        }
        return feedback_->AddFalsePositive(Param(params, "files"), Param(params, "details")) ? Answer{200, "OK"}
                                                                                              : Answer{500, "ERROR"};
    }
    return {404, "not found"};
}

Answer DefinitionServer::LanguageFile(const std::string& number) {
    if (options_.languages.empty()) return {404, "not found"};
    std::ifstream in(options_.languages / number / "Localization.txt", std::ios::binary);
    if (!in) return {404, "not found"};
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return {200, body};
}

int DefinitionServer::Bind(const std::string& host, int port) {
    if (port == 0) return http_->bind_to_any_port(host);
    return http_->bind_to_port(host, port) ? port : -1;
}

bool DefinitionServer::Listen() { return http_->listen_after_bind(); }

void DefinitionServer::Stop() { http_->stop(); }

void DefinitionServer::Log(const std::string& line) {
    if (options_.requestLog.empty()) return;
    std::lock_guard<std::mutex> lock(logLock_);
    std::ofstream(options_.requestLog, std::ios::app | std::ios::binary) << line << "\n";
}

}  // namespace defserver
