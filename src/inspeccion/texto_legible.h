#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvar {

// Drawings and tables are single-byte text in the Windows code page of western Europe
// (1252); the tools show their bytes as UTF-8 through these.

// Appends the bytes as UTF-8. The five positions 1252 leaves empty (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) become the control characters of the same number, as Windows itself maps them.
void pon_utf8(std::string& s, std::string_view bytes_1252);
std::string utf8_de_1252(std::string_view bytes_1252);

// The bytes between double quotes as UTF-8, with \" \\ \t and \0 escaped and every other
// control character as \xNN of its byte: what a record holds, readably and unambiguously.
std::string cita_bytes(std::string_view bytes_1252);

// The bytes as hexadecimal pairs separated by spaces: "30 31 00".
std::string hex_bytes(std::string_view bytes);

// Decimal digits, with a minus sign when negative.
void pon_entero(std::string& s, std::int64_t v);

// A count of thousandths as a decimal number: with three decimals always ("1.500",
// "-0.001") or with the trailing zeros and point dropped ("1.5", "-0.001", "3").
void pon_milesimas(std::string& s, std::int64_t milesimas);
void pon_milesimas_corto(std::string& s, std::int64_t milesimas);

}  // namespace tolvar
