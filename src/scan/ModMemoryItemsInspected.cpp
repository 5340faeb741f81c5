#include "scan/ModMemoryItemsInspected.h"

namespace bastion {

// Placeholder until the process scan lands.
ProcessScanner::ProcessScanner(ui::Dialogs& dialogs, const ui::MessageCatalogue& messages, std::string productName)
    : dialogs_(dialogs), messages_(messages), productName_(std::move(productName)) {}
void ProcessScanner::ScanRunningProcesses(ScanContext&) {}
void ProcessScanner::ResetSignature() { processListSignature_.clear(); }

}  // namespace bastion
