#include "ui/layout/ProgressScale.h"

#include <cmath>

namespace bastion::ui {

int ProgressSteps(double min, double max, double value) {
    if (!(max > min) || std::isnan(value)) return 0;
    if (value <= min) return 0;
    if (value >= max) return kProgressSteps;
    return static_cast<int>(std::lround((value - min) / (max - min) * kProgressSteps));
}

}  // namespace bastion::ui
