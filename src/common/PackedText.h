// Texts packed one after the other into one string, each as its length and
// its bytes: for tables of a hundred thousand short texts that keep no
// string of their own per text. Lengths (and other small numbers) take
// seven bits a byte, the high bit set on every byte but the last, so almost
// every one takes a single byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bastion {

void AppendPackedNumber(std::string& out, std::uint64_t number);
std::uint64_t ReadPackedNumber(std::string_view packed, std::size_t& at);

void AppendPackedText(std::string& out, std::string_view text);

// The same written at out, which must have room for the text and ten
// bytes more; gives back where the next write goes.
char* WritePackedNumber(char* out, std::uint64_t number);
char* WritePackedText(char* out, std::string_view text);
// The text at at, which moves past it.
std::string_view ReadPackedText(std::string_view packed, std::size_t& at);

}  // namespace bastion
