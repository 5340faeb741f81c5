// The captions of the main window that name what another control shows
// ("Definitions:" before the count, "Items found" below a counter). They
// belong to the main window's model, so that translations reach them like
// any label.
#pragma once

#include <array>

#include "ui/forms/Controls.h"

namespace bastion::ui {

struct FrmMainCaptions {
    explicit FrmMainCaptions(Form& main);

    // Home page.
    Label lblProtectionStatus;
    Label lblScanYourComputer;
    Label lblDefCountCaption;
    Label lblVersionCaption;
    Label lblDefVersionCaption;
    Label lblDefRemovedCaption;
    Label lblLastScanCaption;
    Label lblLastFullScanCaption;
    // Scan page.
    Label lblCurrentStep;
    Label lblOverall;
    Label lblDriveOrFolder;
    // Below the six counters.
    Label lblMemoryInspectedCaption;
    Label lblRegistryInspectedCaption;
    Label lblFilesFolderInspectedCaption;
    Label lblSoftwareFoundCaption;
    Label lbltracesFoundCaption;
    Label lblTotalNoOfRunningItemsCaption;
    // Results page.
    Label lblItemsFoundCaption;
    // Options page.
    Label lblScanOn;
    Label lblScheduleDate;
    Label lblScheduleTime;
    Label lblFileName;

    // The counters' captions in the order of the counters.
    std::array<Label*, 6> CounterCaptions() {
        return {&lblMemoryInspectedCaption, &lblRegistryInspectedCaption, &lblFilesFolderInspectedCaption,
                &lblSoftwareFoundCaption,   &lbltracesFoundCaption,       &lblTotalNoOfRunningItemsCaption};
    }
};

}  // namespace bastion::ui
