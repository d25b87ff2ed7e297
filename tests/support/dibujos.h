#pragma once

// What the tests share: a recording window, drawings and expected bytes written as literals,
// and a batch run on memory files.

#include <gmock/gmock.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversor.h"
#include "core/vista_conversion.h"
#include "support/ficheros_memoria.h"

namespace tolvar::prueba {

// Records what the conversion shows, in order, as short texts.
class vista_registro final : public vista_conversion {
 public:
  std::vector<std::string> llamadas;
  bool atributo = false;
  int consultas_atributo = 0;

  void muestra_contadores(std::int32_t pl, std::int32_t pt, std::int32_t tx) override;
  void muestra_ficheros(const std::filesystem::path& bin, const std::filesystem::path& err) override;
  void muestra_fin() override { llamadas.push_back("fin"); }
  void puntero_espera(bool activo) override {
    llamadas.push_back(activo ? "espera" : "normal");
  }
  bool atributo_activado() const override {
    ++const_cast<vista_registro*>(this)->consultas_atributo;
    return atributo;
  }
};

// Lines joined with CR LF, each ended: dibujo({"  0", "POINT"}) == "  0\r\nPOINT\r\n".
std::string dibujo(std::initializer_list<std::string_view> lineas, std::string_view fin = "\r\n");

// A text whose every '/' separates a path, as messages write it on this system: with a
// backslash on Windows, where nativa("-- d/a.dxf, line 4") is "-- d\\a.dxf, line 4".
std::string nativa(std::string texto);

// Bytes from hexadecimal pairs, spaces ignored: hex("43 3D 00") == "C=\0".
std::string hex(std::string_view pares);

// Bytes as hexadecimal pairs in units of 12, for readable failures.
std::string muestra_hex(std::string_view bytes);

// Hands out its bytes a few at a time, so that line ends fall across buffer refills.
class fuente_troceada final : public fuente {
 public:
  fuente_troceada(std::string datos, std::size_t trozo) : datos_(std::move(datos)), trozo_(trozo) {}
  std::size_t lee(char* destino, std::size_t max) override;

 private:
  std::string datos_;
  std::size_t trozo_;
  std::size_t pos_ = 0;
};

// A memory directory "d" holding the given table and drawings.
struct directorio_prueba {
  ficheros_memoria fs;
  vista_registro vista;
  conversor conv{vista, fs};

  explicit directorio_prueba(std::string_view tabla = "0101 CAPA\r\n");
  void pon(std::string_view nombre, std::string bytes) { fs.pon(std::filesystem::path("d") / nombre, std::move(bytes)); }
  std::string lee(std::string_view nombre) const;
  bool existe(std::string_view nombre) const;
  // Converts the directory "d" as a choice of "d/<elegido>" would.
  void convierte(std::string_view elegido = "a.dxf");
};

// Converts the drawing d/a.dxf with the given table; gives its .bin as muestra_hex() text and,
// when asked, its .err.
std::string convierte_hex(std::string_view tabla, const std::string& dxf, std::string* err = nullptr);

}  // namespace tolvar::prueba
