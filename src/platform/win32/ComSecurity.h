// The process's COM security, set once at start before any COM call
// crosses processes. System Restore's service calls back into the process
// that asks for a restore point; without a security that admits the
// service accounts (Local System, Local Service, Network Service) besides
// the administrators, the request fails.
#pragma once

namespace bastion::win32 {

// True when the security was set (false when COM had already been used for
// calls across processes, or the descriptor could not be made).
bool InitializeComSecurity();

}  // namespace bastion::win32
