#include "base/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/failure.h"

namespace tq {

int16_t WrapToInt16(long long value) noexcept {
  return static_cast<int16_t>(
      static_cast<uint16_t>(static_cast<unsigned long long>(value) & 0xFFFFu));
}

double RoundHalfEven(double value) noexcept {
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<double> ParseDecimal(std::string_view text) noexcept {
  const std::string_view t = Trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    negative = t[i] == '-';
    ++i;
  }
  // Digits are accumulated exactly as text and converted once, so that "146.525" is the
  // nearest double to 146.525 and not the sum of rounded parts.
  std::string digits;
  bool point = false;
  bool anyDigit = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      digits.push_back(c);
      anyDigit = true;
    } else if (c == '.' && !point) {
      digits.push_back('.');
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!anyDigit) return std::nullopt;
  // from_chars ignores the C locale, so a decimal comma locale cannot change the reading.
  double value = 0.0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return negative ? -value : value;
}

double ToNumber(std::string_view text, const std::string& source) {
  const auto value = ParseDecimal(text);
  if (!value)
    throw Failure(err::kTypeMismatch, source, "not a number: \"" + std::string(text) + "\"");
  return *value;
}

namespace {
template <typename T>
T CheckedWhole(double value, const std::string& source) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<T>::max()))) {
    throw Failure(err::kOverflow, source, "value out of range");
  }
  return static_cast<T>(rounded);
}
}  // namespace

int16_t ToInt16(std::string_view text, const std::string& source) {
  return CheckedWhole<int16_t>(ToNumber(text, source), source);
}

int32_t ToInt32(std::string_view text, const std::string& source) {
  return CheckedWhole<int32_t>(ToNumber(text, source), source);
}

int16_t CheckedInt16(long long value, const std::string& source) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    throw Failure(err::kOverflow, source, "value out of 16-bit range");
  }
  return static_cast<int16_t>(value);
}

int32_t CheckedInt32(long long value, const std::string& source) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw Failure(err::kOverflow, source, "value out of 32-bit range");
  }
  return static_cast<int32_t>(value);
}

uint8_t CheckedByte(long long value, const std::string& source) {
  if (value < 0 || value > 255) throw Failure(err::kOverflow, source, "value out of byte range");
  return static_cast<uint8_t>(value);
}

std::optional<int16_t> ParseAddressText(std::string_view text) noexcept {
  const std::optional<uint32_t> parsed = ParseHex(text);
  if (!parsed) return std::nullopt;
  return WrapToInt16(*parsed);
}

std::optional<uint32_t> ParseHex(std::string_view text) noexcept {
  const std::string_view t = Trim(text);
  if (t.empty() || t.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (const char c : t) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16u + digit;
  }
  return value;
}

std::string HexText(uint32_t value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", width, value);
  return buffer;
}

std::string_view Trim(std::string_view text) noexcept {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string CutUtf8(std::string_view text, std::size_t count) {
  std::size_t chars = 0;
  std::size_t i = 0;
  while (i < text.size() && chars < count) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0u) == 0x80u) ++i;
    ++chars;
  }
  return std::string(text.substr(0, i));
}

bool EqualsNoCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace tq
