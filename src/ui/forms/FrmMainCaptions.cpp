#include "ui/forms/FrmMainCaptions.h"

namespace bastion::ui {

FrmMainCaptions::FrmMainCaptions(Form& main)
    : lblProtectionStatus{main, "lblProtectionStatus"},
      lblScanYourComputer{main, "lblScanYourComputer"},
      lblDefCountCaption{main, "lblDefCountCaption"},
      lblVersionCaption{main, "lblVersionCaption"},
      lblDefVersionCaption{main, "lblDefVersionCaption"},
      lblDefRemovedCaption{main, "lblDefRemovedCaption"},
      lblLastScanCaption{main, "lblLastScanCaption"},
      lblLastFullScanCaption{main, "lblLastFullScanCaption"},
      lblCurrentStep{main, "lblCurrentStep"},
      lblOverall{main, "lblOverall"},
      lblDriveOrFolder{main, "lblDriveOrFolder"},
      lblMemoryInspectedCaption{main, "lblMemoryInspectedCaption"},
      lblRegistryInspectedCaption{main, "lblRegistryInspectedCaption"},
      lblFilesFolderInspectedCaption{main, "lblFilesFolderInspectedCaption"},
      lblSoftwareFoundCaption{main, "lblSoftwareFoundCaption"},
      lbltracesFoundCaption{main, "lbltracesFoundCaption"},
      lblTotalNoOfRunningItemsCaption{main, "lblTotalNoOfRunningItemsCaption"},
      lblItemsFoundCaption{main, "lblItemsFoundCaption"},
      lblScanOn{main, "lblScanOn"},
      lblScheduleDate{main, "lblScheduleDate"},
      lblScheduleTime{main, "lblScheduleTime"},
      lblFileName{main, "lblFileName"} {
    lblProtectionStatus.SetCaption("Protection status");
    lblScanYourComputer.SetCaption("Scan your computer");
    lblDefCountCaption.SetCaption("Definitions:");
    lblVersionCaption.SetCaption("Program version:");
    lblDefVersionCaption.SetCaption("Definitions date:");
    lblDefRemovedCaption.SetCaption("Items removed:");
    lblLastScanCaption.SetCaption("Last scan:");
    lblLastFullScanCaption.SetCaption("Last full scan:");
    lblCurrentStep.SetCaption("Current step");
    lblOverall.SetCaption("Overall");
    lblDriveOrFolder.SetCaption("Drive or folder");
    lblMemoryInspectedCaption.SetCaption("Processes inspected");
    lblRegistryInspectedCaption.SetCaption("Registry entries inspected");
    lblFilesFolderInspectedCaption.SetCaption("Files/Folders inspected");
    lblSoftwareFoundCaption.SetCaption("Items found");
    lbltracesFoundCaption.SetCaption("Traces found");
    lblTotalNoOfRunningItemsCaption.SetCaption("Running items");
    lblItemsFoundCaption.SetCaption("Items found:");
    lblScanOn.SetCaption("Scan on:");
    lblScheduleDate.SetCaption("Date:");
    lblScheduleTime.SetCaption("Time:");
    lblFileName.SetCaption("File name:");
}

}  // namespace bastion::ui
