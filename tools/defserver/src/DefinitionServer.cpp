#include "DefinitionServer.h"

#include <httplib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include "DeltaEncoding.h"
#include "HttpCaching.h"
#include "Misbehaviour.h"
#include "common/Base64.h"
#include "common/Text.h"

namespace defserver {

namespace {

constexpr const char* kText = "text/plain";
// How long a program or a proxy waits before it sends feedback again
// after a 503.
constexpr const char* kRetryAfterSeconds = "30";
// Answers up to this size are sent as one piece; longer ones are sent from
// the buffer they were made in, which every request shares.
constexpr std::size_t kSentWhole = 64 * 1024;
// How old the date answer of a stale mirror is (test control).
constexpr std::time_t kStaleSeconds = 8 * 24 * 60 * 60;
const std::string kNoBody;

std::string Param(const std::map<std::string, std::string>& params, const std::string& name) {
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
}

// The client's address: the connection's, or behind a trusted proxy the
// nearest address in X-Forwarded-For that is not a trusted proxy itself.
// Several X-Forwarded-For lines are one list, in their order: the proxy
// appends to the last.
std::string ClientAddress(const httplib::Request& request, const std::vector<std::string>& trusted) {
    auto isTrusted = [&](const std::string& address) {
        return std::find(trusted.begin(), trusted.end(), address) != trusted.end();
    };
    if (!isTrusted(request.remote_addr) || !request.has_header("X-Forwarded-For")) return request.remote_addr;
    std::string forwarded;
    for (std::size_t line = 0; line < request.get_header_value_count("X-Forwarded-For"); ++line) {
        forwarded += "," + request.get_header_value("X-Forwarded-For", line);
    }
    const std::vector<std::string> hops = bastion::Split(forwarded, ",");
    for (auto hop = hops.rbegin(); hop != hops.rend(); ++hop) {
        const std::string address = bastion::Trim(*hop);
        if (!address.empty() && !isTrusted(address)) return address;
    }
    return request.remote_addr;
}

// "2024-05-01T14:30:00Z".
std::string UtcText(std::time_t time) {
    std::tm utc{};
    ::gmtime_r(&time, &utc);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace

const std::string& Answer::Body() const { return body ? *body : kNoBody; }

DefinitionServer::DefinitionServer(ServerOptions options, std::unique_ptr<FeedbackStore> feedback,
                                   std::unique_ptr<Signer> signer)
    : options_(std::move(options)),
      changes_(options_.changes, options_.report, LocalNow, options_.lookEvery, PublishedChanges::Clock::now,
               options_.settle),
      deltas_(options_.deltaCacheBytes),
      feedback_(std::move(feedback)),
      signer_(std::move(signer)),
      feedbackLimit_(options_.feedbackPerMinute),
      feedbackAtOnce_(std::clamp<std::size_t>(options_.feedbackAtOnce, 1, std::max<std::size_t>(1, options_.threads / 2))),
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
                         Answer plain) {
        const std::string mode = options_.testControl ? request.matches[1].str() : "";
        const std::string only = options_.testControl ? request.matches[2].str() : "";
        if (!mode.empty() && plain.status == 200 && (only.empty() || only == name)) {
            if (mode != "replay" && mode != "stale" && mode != "language") {
                Misbehave(mode, plain, options_.slowPauseMs, stopping_, response);
                return;
            }
            plain = PlayedBack(mode, name, std::move(plain));
        }
        response.status = plain.status;
        if (plain.status == 503) response.set_header("Retry-After", kRetryAfterSeconds);
        if (plain.tag.empty()) {
            // Feedback and refusals: never kept by a cache.
            response.set_header("Cache-Control", "no-store");
            response.set_content(plain.Body(), kText);
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
        if (plain.Body().size() <= kSentWhole) {
            response.set_content(plain.Body(), kText);
            return;
        }
        std::shared_ptr<const std::string> body = plain.body;
        response.set_content_provider(body->size(), kText,
                                      [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                          return sink.write(body->data() + offset, std::min(length, kSentWhole));
                                      });
    };
    // Without test control the misbehaving addresses do not exist.
    const std::string prefix =
        options_.testControl ? R"((?:/misbehave/(status|html|short|slow|trickle|hang|tamper|drop|replay|stale|language)(?:-(\w+))?)?)" : "()()";
    http_->Get(prefix + R"(/asp/(\w+)\.asp)", [this, answer](const httplib::Request& request,
                                                             httplib::Response& response) {
        Log(request.target);
        std::map<std::string, std::string> params(request.params.begin(), request.params.end());
        const std::string name = request.matches[3].str();
        if (name == "getData" || name == "submitFP") {
            // A report is one request: its connection is not kept, so that
            // it holds no thread while the program waits to send the next.
            response.set_header("Connection", "close");
            if (!feedbackLimit_.Allow(ClientAddress(request, options_.trustedProxies))) {
                response.status = 429;
                response.set_header("Cache-Control", "no-store");
                response.set_content("ERROR: too many requests", kText);
                return;
            }
            const AtOnceLimit::Place place(feedbackAtOnce_);
            answer(request, response, name,
                   place ? Feedback(name, params) : Answer{503, "ERROR: too many reports at once"});
            return;
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
    // "date.asp" stays plain: a program that trusts a key never asks it.
    if (name == "date") return {200, published->date, published->dateTag, published->lastModified};
    if (name == "currentDateNEW") return DateAnswer(*published);
    return Delta(*published, Param(params, "date"));
}

Answer DefinitionServer::DateAnswer(const Publication& published) {
    if (!signer_) return {200, published.date, published.dateTag, published.lastModified};
    const std::time_t now = std::time(nullptr);
    std::lock_guard<std::mutex> hold(dateLock_);
    if (!signedDate_.body || signedDateVersion_ != published.version || signedDateIssued_ != now) {
        signedDate_ = SignedDateAt(published, now);
        signedDateVersion_ = published.version;
        signedDateIssued_ = now;
    }
    return signedDate_;
}

Answer DefinitionServer::SignedDateAt(const Publication& published, std::time_t issued) const {
    // The moment it was issued is what tells a fresh answer from one played
    // back; a cache asking whether it changed since is told yes each second.
    const std::string signedPart = "DATE|" + published.date + "|" + UtcText(issued);
    return {200, WithSignature(*signer_, signedPart), EntityTag(signedPart), issued};
}

Answer DefinitionServer::Delta(const Publication& published, const std::string& asked) {
    const std::optional<bastion::DateTime> since = bastion::ParseGeneralDate(asked);
    if (!since) return {400, "no date"};
    // Every date between two sets asks for the same changes: one answer
    // made, signed and kept for all of them. No program holds a date before
    // the first day's.
    const std::size_t first = FirstSetAfter(published.log, std::max(*since, EmptyLogDate()));
    const std::shared_ptr<const CachedAnswer> delta =
        deltas_.Get(published.version, std::to_string(first), [&] { return MakeDelta(published.log, first); });
    std::shared_ptr<const std::string> body(delta, &delta->body);
    if (options_.testControl) {
        std::lock_guard<std::mutex> hold(replayLock_);
        if (!firstDelta_) firstDelta_ = body;
    }
    return {200, std::move(body), delta->tag, published.lastModified};
}

CachedAnswer DefinitionServer::MakeDelta(const ChangeLog& log, std::size_t first) const {
    // Made in one buffer of its final size: a delta may be large, and many
    // requests may wait for it.
    const std::size_t recordsLength = RecordsLength(log, first);
    CachedAnswer made;
    if (!signer_) {
        made.body.reserve(recordsLength);
        AppendRecords(log, first, made.body);
        made.tag = EntityTag(made.body);
        return made;
    }
    // From the date of the last set the client holds (the first day's when
    // it holds none) to the date it holds after applying: what the
    // signature vouches for besides the records.
    const bastion::DateTime from = first > 0 ? log.sets[first - 1].date : EmptyLogDate();
    const bastion::DateTime to = std::max(LatestDate(log), from);
    const std::string header = "DELTA|" + bastion::FormatGeneralDate(from) + "|" + bastion::FormatGeneralDate(to) +
                               "|" + std::to_string(RecordCount(log, first)) + "[BR]";
    constexpr std::size_t kSignatureRecord = 14 + 88;
    made.body.reserve(header.size() + recordsLength + kSignatureRecord);
    made.body = header;
    AppendRecords(log, first, made.body);
    // Tagged by what it says: made again, it carries another signature.
    made.tag = EntityTag(made.body);
    made.body += "[BR]SIGNATURE|" + bastion::Base64Encode(signer_->Sign(made.body));
    return made;
}

Answer DefinitionServer::PlayedBack(const std::string& mode, const std::string& name, Answer plain) {
    if (mode == "replay" && name == "getDefsNEW") {
        std::lock_guard<std::mutex> hold(replayLock_);
        if (firstDelta_) plain.body = firstDelta_;
    } else if (mode == "stale" && name == "currentDateNEW" && signer_) {
        if (const std::shared_ptr<const Publication> published = changes_.Current()) {
            plain = SignedDateAt(*published, std::time(nullptr) - kStaleSeconds);
        }
    } else if (mode == "language") {
        plain = FirstLanguageFile();
    }
    return plain;
}

Answer DefinitionServer::FirstLanguageFile() {
    std::error_code error;
    long long lowest = -1;
    for (std::filesystem::directory_iterator entry(options_.languages, error), end; !error && entry != end;
         entry.increment(error)) {
        long long number = 0;
        if (bastion::ParseWholeNumber(entry->path().filename().string(), number) && (lowest < 0 || number < lowest)) {
            lowest = number;
        }
    }
    return lowest < 0 ? Answer{404, "not found"} : LanguageFile(std::to_string(lowest));
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
    if (!signer_) {
        const std::string tag = EntityTag(body);
        return {200, std::move(body), tag, lastModified};
    }
    // Signed as what it is, so that no other answer can be made of it.
    const std::string signedPart = "LANGUAGE|" + number + "|" + body;
    return {200, WithSignature(*signer_, signedPart), EntityTag(signedPart), lastModified};
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
    // Opened for each line, so that a log moved or deleted by someone else
    // (logrotate, a test taking the requests) starts anew.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(options_.requestLog, error);
    if (!error && size + line.size() + 1 > options_.requestLogBytes) {
        // The log is kept at its size: the older lines as FILE.1.
        std::filesystem::rename(options_.requestLog, options_.requestLog.string() + ".1", error);
    }
    std::ofstream(options_.requestLog, std::ios::app | std::ios::binary) << line << "\n";
}

}  // namespace defserver
