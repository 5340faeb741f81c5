// Filling the report viewer from the report file.
#pragma once

#include <string>

#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "services/identity/Identity.h"
#include "ui/forms/FrmReport.h"

namespace bastion {

// The text the viewer shows for the report file's content (code-page
// bytes): the report follows most lines with an empty one, so an empty line
// (after trimming blanks) becomes the line break and every other line is
// appended without one. Each line then shows once, without the spacing;
// lines that follow one another directly (the exclusions) are still broken
// apart.
std::string ReportViewerText(const std::string& fileBytes, const CodePage& codePage);

// The viewer's load: caption product name + " Log", the report read afresh
// (an absent report leaves the viewer empty).
void frmReport_Load(ui::FrmReport& viewer, platform::FileSystem& files, const CodePage& codePage,
                    const std::string& dataFolder, const services::Identity& identity);

}  // namespace bastion
