// A progress bar of the form models holds doubles (the overall bar counts
// bytes, many gigabytes); the native bar takes whole steps, so the model's
// range is mapped onto a fixed number of steps.
#pragma once

namespace bastion::ui {

inline constexpr int kProgressSteps = 10000;

// The step 0..kProgressSteps that shows value within [min, max]; an empty
// range shows 0, values outside it show the nearer end.
int ProgressSteps(double min, double max, double value);

}  // namespace bastion::ui
