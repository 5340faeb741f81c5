// What every fuzz target is: one function that the fuzzing engine, or the
// replay runner of the ordinary builds, calls with one input at a time.
// A target drives the real code over the in-memory fakes and returns 0; a
// fault shows as a crash, a sanitizer report or a failed FUZZ_CHECK.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace bastion::fuzz {

inline std::string_view AsBytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: FUZZ_CHECK failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace bastion::fuzz

// A property every input must keep; its failure is a crash the engine keeps.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::bastion::fuzz::CheckFailed(#condition, __FILE__, __LINE__))
