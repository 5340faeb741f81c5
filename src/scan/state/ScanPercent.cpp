#include "scan/state/ScanPercent.h"

#include <limits>

#include "common/Rounding.h"

namespace bastion {

namespace {

long long PhaseLines(const DefinitionCounts& lines, ScanPhase phase) {
    switch (phase) {
        case ScanPhase::Cookies: return lines.cookies;
        case ScanPhase::Processes: return lines.executables;
        case ScanPhase::Registry: return lines.registry;
        case ScanPhase::Files: return lines.files;
    }
    return 0;
}

long long LinesBefore(const DefinitionCounts& lines, ScanPhase phase) {
    long long before = 0;
    for (ScanPhase earlier : {ScanPhase::Cookies, ScanPhase::Processes, ScanPhase::Registry}) {
        if (earlier == phase) {
            break;
        }
        before += PhaseLines(lines, earlier);
    }
    return before;
}

}  // namespace

std::int16_t Percent(long long count, long long total) {
    if (total <= 0) {
        return 0;
    }
    const double percent = static_cast<double>(count) / static_cast<double>(total) * 100.0;
    constexpr double kLowest = std::numeric_limits<std::int16_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int16_t>::max();
    if (percent <= kLowest) {
        return std::numeric_limits<std::int16_t>::min();
    }
    if (percent >= kHighest) {
        return std::numeric_limits<std::int16_t>::max();
    }
    return static_cast<std::int16_t>(BankersRound(percent));
}

std::int16_t PhasePercent(const DefinitionCounts& lines, ScanPhase phase, long long count) {
    return Percent(count, PhaseLines(lines, phase));
}

std::int16_t OverallPercent(const DefinitionCounts& lines, ScanPhase phase, long long count) {
    // Content definitions are looked up per file met, not gone through in a
    // phase of their own: the phases together make the whole.
    return Percent(count + LinesBefore(lines, phase), static_cast<long long>(lines.total) - lines.content);
}

}  // namespace bastion
