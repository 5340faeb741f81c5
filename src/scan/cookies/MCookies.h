// The cookie scan: every file of the user's cookie folder whose web domain
// is on the blocked list becomes a "Tracking Cookie" detection.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "scan/ScanContext.h"

namespace bastion {

// filesExamined is the controller's count of cookie files examined.
void ScanCookies(ScanContext& context, std::int32_t& filesExamined);

// The special folder's path, or "" when the system names none.
std::string GetShellFolderPath(platform::Shell& shell, int folderId);

// The scan proper, over the files of one folder.
void ScanCookieFolder(ScanContext& context, const std::string& folder, std::int32_t& filesExamined);

// The entries of "BlockedCookies.dat": every decoded line, split again at
// "|", with one empty entry last; no entries when the file is absent.
std::vector<std::string> ReadBlockedCookies(ScanContext& context);

// The domain part of a cookie file name (user@domain[1].txt gives domain);
// "" when the name has no "@".
std::string CookieNameToDomain(std::string_view fileName);

// The web domain that set the cookie file, read from inside it, or "False"
// when the file cannot be read or names none. For a file named
// user@domain[1].txt, the first field (between commas and line ends) that
// holds the name's domain, from there up to its first "/"; for a file
// without "@" in its name (named at random by current internet clients), the
// domain line of its first cookie record.
std::string GetCookieDomain(platform::FileSystem& files, const CodePage& codePage, const std::string& cookiePath);

// True when an entry that holds the domain (compared with case) equals it
// (compared without case) once its last "."-part and its first "*" are
// removed. An empty domain is never blocked.
bool IsBlockedCookieDomain(const std::vector<std::string>& blockedList, std::string_view domain);

}  // namespace bastion
