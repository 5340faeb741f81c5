#pragma once

namespace bastion {

// Nearest whole number, halves to the even one: 0.5 -> 0, 1.5 -> 2,
// 2.5 -> 2, -0.5 -> 0, 0.67 -> 1.
long long BankersRound(double value);

}  // namespace bastion
