// Number rules shared by every subsystem: 16-bit reduction, banker's rounding, and the
// reading of decimal and hexadecimal text the way the radio tool reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

// Reduces any integer to signed 16 bits by wrapping (40000 gives -25536).
int16_t WrapToInt16(long long value) noexcept;

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double value) noexcept;

// Recognises plain decimal notation: optional surrounding blanks, an optional sign, digits with
// at most one point (".5", "5." and "146.525" are numbers; "", ".", "1e3", "0x10" are not).
std::optional<double> ParseDecimal(std::string_view text) noexcept;

// Reads text as a number or throws Failure 13 (type mismatch) naming `source`.
double ToNumber(std::string_view text, const std::string& source);

// Reads text as a whole number, rounded halves to even, that fits the target type; a text that
// is not a number throws 13 (type mismatch), one out of range throws 6 (overflow).
int16_t ToInt16(std::string_view text, const std::string& source);
int32_t ToInt32(std::string_view text, const std::string& source);

// Checked narrowing of a computed value; out of range throws 6 (overflow).
int16_t CheckedInt16(long long value, const std::string& source);
int32_t CheckedInt32(long long value, const std::string& source);
uint8_t CheckedByte(long long value, const std::string& source);

// Reads hexadecimal digits (either case, no prefix, surrounding blanks allowed); nullopt when
// the text is empty, holds another character or exceeds 32 bits.
std::optional<uint32_t> ParseHex(std::string_view text) noexcept;

// An address as the address boxes read it: hexadecimal text reduced to signed 16 bits ("8000"
// gives -32768); nullopt when the text is not hexadecimal (an empty one too).
std::optional<int16_t> ParseAddressText(std::string_view text) noexcept;

// Upper-case hexadecimal text of `value`, zero-padded to at least `width` digits.
std::string HexText(uint32_t value, int width);

// Trims blanks (spaces, tabs, CR, LF) at both ends.
std::string_view Trim(std::string_view text) noexcept;

// Cuts UTF-8 text to at most `count` characters without splitting a character.
std::string CutUtf8(std::string_view text, std::size_t count);

// Compares ASCII letters without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b) noexcept;

}  // namespace tq
