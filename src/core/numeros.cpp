#include "core/numeros.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "core/error_conversion.h"
#include "core/texto.h"

namespace tolvar {
namespace {

constexpr double escala = 1000.0;

// Also false for NaN and the infinities.
bool cabe_en_32(double r) noexcept { return r >= -2147483648.0 && r <= 2147483647.0; }

bool es_digito(char c) noexcept { return c >= '0' && c <= '9'; }

[[noreturn]] void no_es_numero(std::string_view texto) {
  throw error_conversion(tipo_incompatible,
                         {cita(texto) + " is not a number", cita(texto) + " no es un número"});
}

// from_chars calls both 1e-400 and 1e400 "out of range"; the power of ten of the first
// significant digit tells which of the two it was.
bool es_demasiado_pequeno(std::string_view mantisa_y_exponente) noexcept {
  std::int64_t digitos_enteros = 0, primer_significativo = -1, indice = 0;
  bool en_fraccion = false;
  std::size_t i = 0;
  for (; i < mantisa_y_exponente.size(); ++i) {
    const char c = mantisa_y_exponente[i];
    if (c == '.') {
      en_fraccion = true;
    } else if (es_digito(c)) {
      if (!en_fraccion) ++digitos_enteros;
      if (c != '0' && primer_significativo < 0) primer_significativo = indice;
      ++indice;
    } else {
      break;
    }
  }
  std::int64_t exponente = 0;
  if (i < mantisa_y_exponente.size()) {  // 'e' or 'E', already validated by from_chars
    ++i;
    bool negativo = false;
    if (i < mantisa_y_exponente.size() &&
        (mantisa_y_exponente[i] == '+' || mantisa_y_exponente[i] == '-'))
      negativo = mantisa_y_exponente[i++] == '-';
    for (; i < mantisa_y_exponente.size(); ++i) {
      if (exponente < INT64_C(1000000000000))
        exponente = exponente * 10 + (mantisa_y_exponente[i] - '0');
    }
    if (negativo) exponente = -exponente;
  }
  if (primer_significativo < 0) return true;
  return digitos_enteros - 1 - primer_significativo + exponente < 0;
}

// The number written by eight digits, given as the values 0 to 9 in the bytes of x (the
// first digit in the lowest byte): pairs, then fours, then all eight, each step a
// multiplication whose partial sums stay inside their own 16- or 32-bit lane.
inline std::uint64_t valor_ocho_digitos(std::uint64_t x) noexcept {
  constexpr std::uint64_t mascara = 0x000000FF000000FFu;
  constexpr std::uint64_t mul1 = 100 + (std::uint64_t{1000000} << 32);
  constexpr std::uint64_t mul2 = 1 + (std::uint64_t{10000} << 32);
  x = (x * 10) + (x >> 8);
  return (((x & mascara) * mul1) + (((x >> 16) & mascara) * mul2)) >> 32;
}

// The form of nearly every coordinate of a drawing, an optional sign, one to eight digits, a
// point and exactly three decimals ("217887.088", "-0.479"), read without a loop: the value
// in thousandths is just its digits. False for any other form, which milesimas_exactas()
// reads the long way to the same result.
inline bool tres_decimales(std::string_view t, std::int64_t& k) noexcept {
  const std::size_t n = t.size();
  std::size_t i = 0;
  bool negativo = false;
  if (n > 0 && (t[0] == '-' || t[0] == '+')) {
    negativo = t[0] == '-';
    i = 1;
  }
  if (n < i + 5 || n > i + 12 || t[n - 4] != '.') return false;
  const auto digito = [](char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned{'0'};
  };
  const unsigned f0 = digito(t[n - 3]), f1 = digito(t[n - 2]), f2 = digito(t[n - 1]);
  if (!((f0 < 10) & (f1 < 10) & (f2 < 10))) return false;
  const std::size_t enteros = n - 4 - i;
  std::uint64_t v = 0;
  if (enteros >= 4) {
    // Eight bytes from the first digit are all inside the text: the point follows at most
    // eight digits and three decimals follow it.
    const std::uint64_t x = ocho_bytes(t.data() + i) ^ 0x3030303030303030u;
    const std::uint64_t otros =
        (((x & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | x) & 0x8080808080808080u;
    if (static_cast<std::size_t>(std::countr_zero(otros) / 8) != enteros) return false;
    v = valor_ocho_digitos(x << (8 * (8 - enteros)));
  } else {
    for (std::size_t j = i; j < n - 4; ++j) {
      const unsigned d = digito(t[j]);
      if (d >= 10) return false;
      v = v * 10 + d;
    }
  }
  const std::uint64_t milesimas = v * 1000 + f0 * 100 + f1 * 10 + f2;
  k = negativo ? -static_cast<std::int64_t>(milesimas) : static_cast<std::int64_t>(milesimas);
  return true;
}

// v, in units of 1/divisor of a thousandth, rounded to the nearest thousandth; false for an
// exact half. The divisor is a constant, which compilers turn into a multiplication.
template <std::uint64_t divisor>
bool redondea_milesimas(std::uint64_t v, std::uint64_t& milesimas) noexcept {
  const std::uint64_t resto = v % divisor;
  if (2 * resto == divisor) return false;
  milesimas = v / divisor + (2 * resto > divisor ? 1 : 0);
  return true;
}

// The coordinate rule in integers, for a value written with at most six decimals that are
// not zero ("452100.125", "-12", ".5", "7.250000", "452100.123456"): the thousandths k of the
// value, rounded to nearest. The double path (parse, x 1000, round) lands on the same k: for
// a k that fits in 32 bits, even with the offset, its errors stay below 2e-6, while a value
// with six decimals or fewer is either a whole number of thousandths or at least 0.0005 away
// from a half; exact halves ("0.0025") are left to it, as they round to even in its own way.
// False for those and for every other form, which take the double path.
bool milesimas_exactas(std::string_view t, std::int64_t& k) noexcept {
  constexpr std::ptrdiff_t max_enteros = 10;
  static constexpr std::uint64_t hasta_milesimas[] = {1000, 100, 10, 1};
  const char* p = t.data();
  const char* const fin = p + t.size();
  bool negativo = false;
  if (p != fin && (*p == '+' || *p == '-')) negativo = *p++ == '-';
  // Unsigned, so that a run of digits too long to fit wraps harmlessly before it is refused.
  const auto digito = [](char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned{'0'};
  };
  const char* const enteros = p;
  std::uint64_t v = 0;
  // The whole part, up to seven digits, in one go when eight bytes are there to look at: a
  // loop stopping at the point would stop at a different place in each value, and the
  // mispredicted exit costs more than the digits.
  if (fin - p >= 8) {
    const std::uint64_t x = ocho_bytes(p) ^ 0x3030303030303030u;  // digits become 0 to 9
    // Bit 7 set in each byte that is not 0 to 9 now; exact, as no carry crosses a byte.
    const std::uint64_t otros =
        (((x & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | x) & 0x8080808080808080u;
    if (otros != 0) {
      const int n = std::countr_zero(otros) / 8;
      // Shifted up, the digits end in the top byte, with zeros in front of them.
      if (n > 0) v = valor_ocho_digitos(x << (8 * (8 - n)));
      p += n;
    }
  }
  for (; p != fin && digito(*p) < 10; ++p) v = v * 10 + digito(*p);
  if (p - enteros > max_enteros) return false;
  bool hay_digitos = p != enteros;
  std::size_t decimales = 0;
  if (p != fin && *p == '.') {
    const char* const fraccion = ++p;
    for (; p != fin && decimales < 6 && digito(*p) < 10; ++p, ++decimales)
      v = v * 10 + digito(*p);
    while (p != fin && *p == '0') ++p;
    hay_digitos = hay_digitos || p != fraccion;
  }
  if (p != fin || !hay_digitos) return false;
  std::uint64_t milesimas = 0;
  if (decimales <= 3) {
    milesimas = v * hasta_milesimas[decimales];
  } else if (!(decimales == 4   ? redondea_milesimas<10>(v, milesimas)
               : decimales == 5 ? redondea_milesimas<100>(v, milesimas)
                                : redondea_milesimas<1000>(v, milesimas))) {
    return false;
  }
  k = negativo ? -static_cast<std::int64_t>(milesimas) : static_cast<std::int64_t>(milesimas);
  return true;
}

}  // namespace

bool lee_entero(std::string_view texto, std::int32_t& valor, bool& desborda) noexcept {
  texto = recorta(texto);
  desborda = false;
  std::size_t i = 0;
  bool negativo = false;
  if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) negativo = texto[i++] == '-';
  if (i == texto.size()) return false;
  std::int64_t v = 0;
  for (; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c < '0' || c > '9') return false;
    if (v <= INT64_C(0x7fffffff) + 1) v = v * 10 + (c - '0');
  }
  if (negativo) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) {
    desborda = true;
    return false;
  }
  valor = static_cast<std::int32_t>(v);
  return true;
}

double lee_numero(std::string_view texto) {
  const std::string_view t = recorta(texto);
  std::size_t i = 0;
  bool negativo = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativo = t[i++] == '-';
  // from_chars would take "inf", "nan" and a second sign; drawings never mean them.
  if (i == t.size() || !(es_digito(t[i]) || t[i] == '.')) no_es_numero(texto);
  const std::string_view resto = t.substr(i);
  double valor = 0.0;
  const auto [fin, ec] =
      std::from_chars(resto.data(), resto.data() + resto.size(), valor, std::chars_format::general);
  if (ec == std::errc::invalid_argument || fin != resto.data() + resto.size()) no_es_numero(texto);
  if (ec == std::errc::result_out_of_range) {
    if (!es_demasiado_pequeno(resto))
      throw error_conversion(desbordamiento,
                             {cita(texto) + " is too large", cita(texto) + " es demasiado grande"});
    valor = 0.0;
  }
  return negativo ? -valor : valor;
}

std::int32_t redondea_32(double valor) {
  const double r = std::nearbyint(valor);
  if (!cabe_en_32(r))
    throw error_conversion(desbordamiento, {"value " + std::to_string(valor) + " does not fit in 32 bits",
                                           "el valor " + std::to_string(valor) + " no cabe en 32 bits"});
  return static_cast<std::int32_t>(r);
}

namespace {

// Steps 3 to 6 of the coordinate rule on a double: false when the result does not fit.
bool escala_doble(double valor, bool con_desplazamiento, std::int32_t& resultado) noexcept {
  double v = valor * escala;
  if (con_desplazamiento) v -= static_cast<double>(desplazamiento_y);
  const double r = std::nearbyint(v);
  if (!cabe_en_32(r)) return false;
  resultado = static_cast<std::int32_t>(r);
  return true;
}

}  // namespace

// Every form but the commonest, out of line so that escala_coord() stays small: it is
// called for each coordinate of a drawing. Not in the unnamed namespace, where a compiler
// would inline its only call and give escala_coord() the weight of it all again.
std::int32_t escala_coord_general(std::string_view texto, bool con_desplazamiento) {
  std::int64_t k = 0;
  if (milesimas_exactas(recorta(texto), k)) {
    if (con_desplazamiento) k -= desplazamiento_y;
    if (k >= INT32_MIN && k <= INT32_MAX) return static_cast<std::int32_t>(k);
    // Out of range: the double path below says so in its own words.
  }
  std::int32_t r = 0;
  if (!escala_doble(lee_numero(texto), con_desplazamiento, r))
    throw error_conversion(desbordamiento,
                           {"coordinate " + cita(texto) + " scales outside 32 bits",
                            "la coordenada " + cita(texto) + " queda fuera de 32 bits al escalarla"});
  return r;
}

std::int32_t escala_coord(std::string_view texto, bool con_desplazamiento) {
  // Spaces around a value make it fail this form, and the general path trims them.
  std::int64_t k = 0;
  if (tres_decimales(texto, k)) {
    if (con_desplazamiento) k -= desplazamiento_y;
    if (k >= INT32_MIN && k <= INT32_MAX) return static_cast<std::int32_t>(k);
  }
  return escala_coord_general(texto, con_desplazamiento);
}

std::int32_t escala_valor(double valor, bool con_desplazamiento) {
  std::int32_t r = 0;
  if (!escala_doble(valor, con_desplazamiento, r))
    throw error_conversion(desbordamiento,
                           {"value " + std::to_string(valor) + " scales outside 32 bits",
                            "el valor " + std::to_string(valor) + " queda fuera de 32 bits al escalarlo"});
  return r;
}

double lee_coordenada(std::string_view texto) {
  std::int64_t k = 0;
  // k thousandths are exactly the value written, and one correctly rounded division gives
  // the double nearest to it, as parsing the text does.
  if (tres_decimales(texto, k)) return static_cast<double>(k) / escala;
  return lee_numero(texto);
}

double escala_altura(std::string_view texto) {
  const double v = lee_numero(texto) * escala;
  if (!std::isfinite(v))
    throw error_conversion(desbordamiento,
                           {cita(texto) + " is too large", cita(texto) + " es demasiado grande"});
  return v;
}

}  // namespace tolvar
