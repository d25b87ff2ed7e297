#include "support/dibujos.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/error_conversion.h"

namespace tolvar::prueba {

void vista_registro::muestra_contadores(std::int32_t pl, std::int32_t pt, std::int32_t tx) {
  llamadas.push_back("contadores " + std::to_string(pl) + " " + std::to_string(pt) + " " +
                     std::to_string(tx));
}

void vista_registro::muestra_ficheros(const std::filesystem::path& bin,
                                      const std::filesystem::path& err) {
  llamadas.push_back("Creado el fichero : " + bin.generic_string());
  llamadas.push_back("Creado el fichero : " + err.generic_string());
}

std::string dibujo(std::initializer_list<std::string_view> lineas, std::string_view fin) {
  std::string s;
  for (std::string_view l : lineas) {
    s += l;
    s += fin;
  }
  return s;
}

std::string nativa(std::string texto) {
#ifdef _WIN32
  std::replace(texto.begin(), texto.end(), '/', '\\');
#endif
  return texto;
}

std::string hex(std::string_view pares) {
  std::string s;
  int alto = -1;
  for (char c : pares) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else continue;
    if (alto < 0) {
      alto = v;
    } else {
      s += static_cast<char>(alto * 16 + v);
      alto = -1;
    }
  }
  EXPECT_LT(alto, 0) << "odd number of hex digits in " << pares;
  return s;
}

std::string muestra_hex(std::string_view bytes) {
  static const char* digitos = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (i > 0) s += (i % 12 == 0) ? '\n' : ' ';
    s += digitos[b >> 4];
    s += digitos[b & 15];
  }
  return s;
}

directorio_prueba::directorio_prueba(std::string_view tabla) {
  pon("dxfbin.tab", std::string(tabla));
}

std::string directorio_prueba::lee(std::string_view nombre) const {
  const auto b = fs.lee(std::filesystem::path("d") / nombre);
  EXPECT_TRUE(b.has_value()) << "no file d/" << nombre;
  return b.value_or("");
}

bool directorio_prueba::existe(std::string_view nombre) const {
  return fs.lee(std::filesystem::path("d") / nombre).has_value();
}

void directorio_prueba::convierte(std::string_view elegido) {
  conv.estado().fich_dxf = std::filesystem::path("d") / elegido;
  conv.ProcesoLote();
}

std::size_t fuente_troceada::lee(char* destino, std::size_t max) {
  const std::size_t n = std::min({max, trozo_, datos_.size() - pos_});
  datos_.copy(destino, n, pos_);
  pos_ += n;
  return n;
}

std::string convierte_hex(std::string_view tabla, const std::string& dxf, std::string* err) {
  directorio_prueba d(tabla);
  d.pon("a.dxf", dxf);
  d.convierte();
  if (err != nullptr) *err = d.lee("a.err");
  return muestra_hex(d.lee("a.bin"));
}

}  // namespace tolvar::prueba
