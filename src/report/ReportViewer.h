// The report file as the report viewer shows it.
#pragma once

#include <string>

#include "common/CodePage.h"
#include "platform/FileSystem.h"

namespace bastion {

// The text the viewer shows for the report file's content (code-page
// bytes): the report follows most lines with an empty one, so an empty line
// (after trimming blanks) becomes the line break and every other line is
// appended without one. Each line then shows once, without the spacing;
// lines that follow one another directly (the exclusions) are still broken
// apart.
std::string ReportViewerText(const std::string& fileBytes, const CodePage& codePage);

// The report of the data folder, read afresh, as the viewer shows it; empty
// when there is none.
std::string ReadReportForViewer(platform::FileSystem& files, const CodePage& codePage, const std::string& dataFolder);

}  // namespace bastion
