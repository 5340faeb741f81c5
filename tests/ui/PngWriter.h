// PNG files of screenshots, written without an image library: 8-bit RGB
// rows in stored (uncompressed) deflate blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bastion::uitest {

// The encoded file: rgb holds width * height pixels of 3 bytes, top row
// first.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace bastion::uitest
