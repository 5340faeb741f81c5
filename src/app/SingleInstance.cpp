#include "app/SingleInstance.h"

#include "common/Text.h"

namespace bastion {

bool AnotherRunOfThisProgram(const InstanceCheck& check, const std::string& name) {
    const platform::InstanceClaim claim = check.instances.Claim(name);
    if (claim.first) return false;
    const std::optional<std::string> holder = claim.holder != 0 ? check.processes.ImagePath(claim.holder) : std::nullopt;
    platform::FileSystem& files = check.files;
    if (holder && EqualsIgnoreCase(Trim(files.FinalPath(*holder)), Trim(files.FinalPath(check.system.ProgramPath())))) {
        return true;
    }
    check.instances.TakeOver(name);
    return false;
}

}  // namespace bastion
