// What the user sends to the definition server: the anonymous data (after
// a scan that found nothing and after a removal, when "chkSendData" is
// ticked), a file name they suspect, and a report of false positives. Each
// request waits with the program's event pump and holds the background
// work off while it is out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "services/Services.h"

namespace bastion {

// Sends the names of the running programs, as an operation of its own;
// nothing when another operation runs or no program does.
void SendAnonymousData(const services::Services& services);

// Sends one file name; true when the server took it.
bool SubmitFileName(const services::Services& services, std::string_view fileName);

enum class FalsePositiveOutcome {
    Accepted,
    // The server refused one of the requests; the rest were not sent.
    Refused,
    // The description with one location does not fit a request: nothing
    // was sent.
    TooLong,
};

struct FalsePositiveAnswer {
    FalsePositiveOutcome outcome = FalsePositiveOutcome::Accepted;
    // What the server answered to the refused request.
    std::string said;
};

// The locations with the user's description, in as many requests as they
// take.
FalsePositiveAnswer ReportFalsePositives(const services::Services& services, const std::vector<std::string>& locations,
                                         std::string_view description);

}  // namespace bastion
