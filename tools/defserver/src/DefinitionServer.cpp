#include "DefinitionServer.h"

#include <httplib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include "DeltaEncoding.h"
#include "HttpCaching.h"
#include "Misbehaviour.h"
#include "common/Text.h"

namespace defserver {

namespace {

constexpr const char* kText = "text/plain";
// How long a program or a proxy waits before it sends feedback again
// after a 503.
constexpr const char* kRetryAfterSeconds = "30";

std::string Param(const std::map<std::string, std::string>& params, const std::string& name) {
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
}

// The client's address: the connection's, or behind a trusted proxy the
// nearest address in X-Forwarded-For that is not a trusted proxy itself.
std::string ClientAddress(const httplib::Request& request, const std::vector<std::string>& trusted) {
    auto isTrusted = [&](const std::string& address) {
        return std::find(trusted.begin(), trusted.end(), address) != trusted.end();
    };
    if (!isTrusted(request.remote_addr) || !request.has_header("X-Forwarded-For")) return request.remote_addr;
    const std::vector<std::string> hops = bastion::Split(request.get_header_value("X-Forwarded-For"), ",");
    for (auto hop = hops.rbegin(); hop != hops.rend(); ++hop) {
        const std::string address = bastion::Trim(*hop);
        if (!address.empty() && !isTrusted(address)) return address;
    }
    return request.remote_addr;
}

}  // namespace

DefinitionServer::DefinitionServer(ServerOptions options, std::unique_ptr<FeedbackStore> feedback,
                                   std::unique_ptr<Signer> signer)
    : options_(std::move(options)),
      changes_(options_.changes, options_.report, LocalNow, options_.lookEvery),
      deltas_(options_.deltaCacheBytes),
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
    const std::size_t threads = std::max<std::size_t>(1, options_.threads);
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // A client that keeps its connection may send many requests on it, and
    // an answer's last piece leaves at once instead of waiting for the
    // acknowledgement of its first (Nagle's algorithm would hold it 40 ms).
    http_->set_keep_alive_max_count(1000);
    http_->set_tcp_nodelay(true);
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
        if (plain.status == 503) response.set_header("Retry-After", kRetryAfterSeconds);
        if (plain.tag.empty()) {
            // Feedback and refusals: never kept by a cache.
            response.set_header("Cache-Control", "no-store");
            response.set_content(plain.body, kText);
            return;
        }
        // A cache may keep a definition answer but asks each time whether
        // it is still current: the date and the delta must not disagree.
        response.set_header("Cache-Control", "no-cache");
        response.set_header("ETag", plain.tag);
        response.set_header("Last-Modified", HttpDate(plain.lastModified));
        if (NotModified(request.get_header_value("If-None-Match"), request.get_header_value("If-Modified-Since"),
                        plain.tag, plain.lastModified)) {
            response.status = 304;
            return;
        }
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
            if (!feedbackLimit_.Allow(ClientAddress(request, options_.trustedProxies))) {
                response.status = 429;
                response.set_header("Cache-Control", "no-store");
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
    const std::shared_ptr<const Publication> published = changes_.Current();
    if (!published) return {503, "ERROR: the definitions are not available"};
    if (name != "getDefsNEW") return {200, published->date, published->dateTag, published->lastModified};
    const std::string asked = Param(params, "date");
    const std::optional<bastion::DateTime> since = bastion::ParseGeneralDate(asked);
    if (!since) return {400, "no date"};
    const std::shared_ptr<const CachedAnswer> delta =
        deltas_.Get(published->version, asked, [&] { return MakeDelta(published->log, asked, *since); });
    return {200, delta->body, delta->tag, published->lastModified};
}

CachedAnswer DefinitionServer::MakeDelta(const ChangeLog& log, const std::string& asked,
                                         const bastion::DateTime& since) const {
    const std::string records = DeltaSince(log, since);
    if (!signer_) return {records, EntityTag(records)};
    // The date the client asked with, as it sent it, and the date it holds
    // after applying: what the signature vouches for besides the records.
    const std::size_t count = ChangesSince(log, since);
    const bastion::DateTime to = std::max(LatestDate(log), since);
    const std::string signedPart = "DELTA|" + asked + "|" + bastion::FormatGeneralDate(to) + "|" +
                                   std::to_string(count) + "[BR]" + records;
    // Tagged by what it says: made again, it carries another signature.
    return {WithSignature(*signer_, signedPart), EntityTag(signedPart)};
}

Answer DefinitionServer::Feedback(const std::string& name, const std::map<std::string, std::string>& params) {
    if (!feedback_) return {503, "ERROR"};
    const bool stored = name == "getData" ? feedback_->AddData(Param(params, "data"))
                                          : feedback_->AddFalsePositive(Param(params, "files"), Param(params, "details"));
    // Older programs take any answer holding "ok" (in any case) for a
    // stored report: no refusal may hold those letters.
    if (!stored) return {503, "ERROR: the feedback store is not available"};
    return {200, name == "getData" ? "Added" : "OK"};
}

Answer DefinitionServer::LanguageFile(const std::string& number) {
    if (options_.languages.empty()) return {404, "not found"};
    const std::filesystem::path path = options_.languages / number / "Localization.txt";
    std::ifstream in(path, std::ios::binary);
    if (!in) return {404, "not found"};
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    const std::time_t lastModified = error ? std::time(nullptr) : FileTime(written);
    const std::string tag = EntityTag(body);
    return {200, signer_ ? WithSignature(*signer_, body) : body, tag, lastModified};
}

int DefinitionServer::Bind(const std::string& host, int port) {
    if (port == 0) return http_->bind_to_any_port(host);
    return http_->bind_to_port(host, port) ? port : -1;
}

bool DefinitionServer::Listen() {
    listening_ = true;
    const bool served = stopping_ || http_->listen_after_bind();
    listenEnded_ = true;
    return served;
}

void DefinitionServer::Stop() {
    stopping_ = true;
    // A stop that comes as the server starts to listen (a service manager
    // stopping it at once) would find nothing to stop yet: it waits until
    // there is, unless Listen saw it first and never listened.
    if (listening_) {
        while (!listenEnded_ && !http_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    http_->stop();
}

void DefinitionServer::Log(const std::string& line) {
    if (options_.requestLog.empty()) return;
    std::lock_guard<std::mutex> hold(logLock_);
    std::ofstream(options_.requestLog, std::ios::app | std::ios::binary) << line << "\n";
}

}  // namespace defserver
