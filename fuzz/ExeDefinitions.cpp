// "ExeDefinition.dat": every line through the process scan of the NT family
// (full module paths) and of the Windows 95 family (snapshot names), with
// some of the programs the seeds name running.
#include "harness/FuzzTarget.h"
#include "definitions/DataFiles.h"
#include "scan/processes/ProcessScanner.h"
#include "harness/FuzzMachine.h"
#include "support/TestIdentity.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    services::MessageCatalogue messages{testing::TestIdentity()};
    services::FillDefaultMessages(messages);
    services::FillGuardMessages(messages);
    for (bool windows9x : {false, true}) {
        fuzz::FuzzMachine machine;
        if (windows9x) machine.machine.system.UseWindows9x();
        machine.WriteDefinitionFile(datafile::kExeDefinitions, fuzz::AsBytes(data, size));
        fuzz::UnattendedDialogs dialogs;
        ProcessScanner scanner(dialogs, messages, "Bastion");
        // The shield asks; an alert that is closed unanswered changes nothing.
        scanner.SetAlert([](const std::string&, const std::string&, bool) { return AlertAnswer::NoAnswer; });
        for (ProcessScanCaller caller : {ProcessScanCaller::Scan, ProcessScanCaller::Shield}) {
            ScanContext context = machine.Context();
            scanner.ResetSignature();
            scanner.ScanRunningProcesses(context, caller);
        }
    }
    return 0;
}
