// What the server does wrong on request, for tests (--test-control only):
// the failures a client meets on a real network and the changes someone on
// the path of a signed answer would make. DefinitionServer.h lists the
// modes.
#pragma once

#include <atomic>
#include <string>

#include "DefinitionServer.h"

namespace httplib {
struct Response;
}

namespace defserver {

// Answers with the plain answer spoilt as mode says. Waits end early once
// stopping is set.
void Misbehave(const std::string& mode, const Answer& answer, int slowPauseMs, const std::atomic<bool>& stopping,
               httplib::Response& response);

}  // namespace defserver
