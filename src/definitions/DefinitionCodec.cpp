#include "definitions/DefinitionCodec.h"

namespace bastion {

std::string EncodeDefinitionText(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out) {
        int code = static_cast<unsigned char>(c) + 64;
        if (code >= 256) code -= 255;
        c = static_cast<char>(code);
    }
    return out;
}

std::string DecodeDefinitionText(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out) {
        int code = static_cast<unsigned char>(c) - 64;
        if (code < 0) code += 255;
        c = static_cast<char>(code);
    }
    return out;
}

}  // namespace bastion
