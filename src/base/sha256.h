// SHA-256 of a byte string, as lower-case hexadecimal: the fingerprint of an image in the
// transfer log, so that a log line can be matched with the file or radio it came from.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tq {

std::string Sha256Hex(std::span<const uint8_t> bytes);

}  // namespace tq
