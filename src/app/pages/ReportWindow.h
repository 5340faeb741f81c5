// The report viewer's load.
#pragma once

#include <string>

#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "services/identity/Identity.h"
#include "ui/forms/FrmReport.h"

namespace bastion {

// Caption product name + " Log", the report read afresh (an absent report
// leaves the viewer empty).
void frmReport_Load(ui::FrmReport& viewer, platform::FileSystem& files, const CodePage& codePage,
                    const std::string& dataFolder, const services::Identity& identity);

}  // namespace bastion
