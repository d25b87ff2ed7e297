#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "inspeccion/lector_bin.h"
#include "support/registros_prueba.h"

namespace tolvar {
namespace {

using prueba::fuente_troceada;
using prueba::hex;


std::vector<registro_bin> lee_todo(const std::string& datos, std::size_t trozo = 1 << 16) {
  fuente_troceada f(datos, trozo);
  lector_bin l(f, "d/a.bin");
  std::vector<registro_bin> r;
  registro_bin x;
  while (l.siguiente(x)) r.push_back(x);
  return r;
}

std::string cod(const registro_bin& r) { return std::string(r.cod.data(), r.cod.size()); }

TEST(lector_bin, un_fichero_vacio_no_tiene_registros) {
  EXPECT_TRUE(lee_todo("").empty());
}

TEST(lector_bin, lee_cada_campo_de_cada_clase_de_registro) {
  const std::string datos = prueba::registro_point() + prueba::registro_text_abc() +
                            prueba::registro_polyline_cerrada() + prueba::registro_triang();
  for (std::size_t trozo : {std::size_t{1}, std::size_t{5}, std::size_t{13}, std::size_t{1} << 16}) {
    SCOPED_TRACE("trozo " + std::to_string(trozo));
    const std::vector<registro_bin> r = lee_todo(datos, trozo);
    ASSERT_EQ(r.size(), 4u);

    EXPECT_EQ(r[0].orden, 1u);
    EXPECT_EQ(r[0].desplazamiento, 0u);
    EXPECT_EQ(std::string(r[0].clase.data(), 2), "C=");
    EXPECT_EQ(cod(r[0]), std::string("0101\0\0\0", 7));
    EXPECT_EQ(r[0].cod_sin_relleno(), "0101");
    EXPECT_EQ(r[0].atr, 0);
    EXPECT_EQ(r[0].num_elem, 1);
    EXPECT_EQ(r[0].ventana, (std::array<std::int32_t, 9>{1500, 2250, 0, 1500, 2250, 0, 20, 6, 1957}));
    EXPECT_EQ(r[0].puntos, (std::vector<tipo_punto>{{1500, 2250, 0}}));
    EXPECT_EQ(r[0].texto, "");
    EXPECT_EQ(r[0].unidades_texto, 0u);
    EXPECT_EQ(r[0].bytes(), 60u);

    EXPECT_EQ(r[1].orden, 2u);
    EXPECT_EQ(r[1].desplazamiento, 60u);
    EXPECT_TRUE(r[1].es_texto());
    EXPECT_EQ(r[1].atr, 1);
    EXPECT_EQ(r[1].num_elem, 2);
    EXPECT_EQ(r[1].ventana, (std::array<std::int32_t, 9>{1500, 2250, 0, 9000, 4750, 0, 2500, 0, 0}));
    EXPECT_EQ(r[1].puntos, (std::vector<tipo_punto>{{1500, 2250, 0}}));
    EXPECT_EQ(r[1].texto, "ABC");
    EXPECT_EQ(r[1].unidades_texto, 1u);
    EXPECT_EQ(r[1].num_atr, 1);
    EXPECT_EQ(r[1].valor_atr, 0);
    EXPECT_EQ(std::string(r[1].cod_atr.data(), 6), "201   ");
    EXPECT_EQ(r[1].bytes(), 84u);

    EXPECT_EQ(r[2].desplazamiento, 144u);
    EXPECT_EQ(r[2].cod_sin_relleno(), "Nuevo");
    EXPECT_FALSE(r[2].es_triangulo());
    EXPECT_EQ(r[2].puntos, (std::vector<tipo_punto>{
                               {10000, 10000, 1000}, {20000, 10000, 2000}, {20000, 20000, 3000},
                               {10000, 10000, 1000}}));
    EXPECT_EQ(r[2].norte(10000), 4000010000);

    EXPECT_EQ(r[3].desplazamiento, 240u);
    EXPECT_TRUE(r[3].es_triangulo());
    EXPECT_FALSE(r[3].es_texto());
    EXPECT_EQ(r[3].puntos.size(), 3u);
    EXPECT_EQ(r[3].norte(6000), 6000);
  }
}

TEST(lector_bin, une_las_unidades_de_texto_hasta_el_byte_cero) {
  const std::string cabecera_y_ventana =
      "C4 09 00 00 00 00 00 00 00 00 00 00"   // extent, not read for the text
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "C4 09 00 00 00 00 00 00 00 00 00 00"
      "DC 05 00 00 CA 08 00 00 00 00 00 00";  // insertion point
  const struct {
    const char* nombre;
    std::string unidades;
    const char* num_elem;
    std::string texto;
    std::size_t num_unidades;
  } casos[] = {
      {"doce_caracteres_sin_cero", "41 42 43 44 45 46 47 48 49 4A 4B 4C", "02 00", "ABCDEFGHIJKL", 1},
      {"trece_caracteres", "41 42 43 44 45 46 47 48 49 4A 4B 4C  4D 00 20 20 20 20 20 20 20 20 20 20",
       "03 00", "ABCDEFGHIJKLM", 2},
      {"sin_texto", "", "01 00", "", 0},
      {"espacios_antes_del_cero_se_quedan", "41 20 20 00 20 20 20 20 20 20 20 20", "02 00", "A  ", 1},
      {"bytes_de_la_pagina_1252_tal_cual", "E9 F1 00 20 20 20 20 20 20 20 20 20", "02 00", "\xE9\xF1", 1},
  };
  for (const auto& c : casos) {
    const std::string datos = hex(std::string("54 3D 30 31 30 31 00 00 00 00 ") + c.num_elem +
                                  cabecera_y_ventana + c.unidades);
    const std::vector<registro_bin> r = lee_todo(datos);
    ASSERT_EQ(r.size(), 1u) << c.nombre;
    EXPECT_EQ(r[0].texto, c.texto) << c.nombre;
    EXPECT_EQ(r[0].unidades_texto, c.num_unidades) << c.nombre;
    EXPECT_EQ(r[0].puntos, (std::vector<tipo_punto>{{1500, 2250, 0}})) << c.nombre;
  }
}

TEST(lector_bin, lee_el_registro_mas_largo_que_cabe_en_num_elem) {
  // A text of 32,766 units with its insertion point and the attribute: 393,264 bytes, more
  // than any one read brings.
  std::string datos = hex(
      "54 3D 30 31 30 31 00 00 00 01 FF 7F"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "01 00 00 00 02 00 00 00 03 00 00 00");
  for (int i = 0; i < 32766; ++i) datos += "abcdefghijkl";
  datos += hex("01 00 00 00 00 00 32 30 31 20 20 20");
  datos += prueba::registro_point();
  const std::vector<registro_bin> r = lee_todo(datos);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].unidades_texto, 32766u);
  EXPECT_EQ(r[0].texto.size(), 32766u * 12u);
  EXPECT_EQ(r[0].puntos, (std::vector<tipo_punto>{{1, 2, 3}}));
  EXPECT_EQ(r[1].desplazamiento, 393264u);
  EXPECT_EQ(r[1].puntos, (std::vector<tipo_punto>{{1500, 2250, 0}}));
}

TEST(lector_bin, un_fichero_roto_se_dice_con_el_registro_y_su_desplazamiento) {
  const std::string entero = prueba::registro_point();
  const std::string polyline = prueba::registro_polyline_cerrada();
  const struct {
    const char* nombre;
    std::string cola;  // after one whole POINT record
    int numero;
    const char* que;
  } casos[] = {
      {"cabecera_cortada", hex("43 3D 30 31 30"), 62,
       "is cut short: its header unit needs 12 bytes, the file ends after 5"},
      {"ventana_cortada", hex("43 3D 30 31 30 31 00 00 00 00 01 00  DC 05 00 00 CA 08 00 00 00 00"),
       62, "is cut short: with num_elem 1 and atr 0 it needs 60 bytes, the file ends after 22"},
      {"cuerpo_cortado", polyline.substr(0, polyline.size() - 12), 62,
       "is cut short: with num_elem 4 and atr 0 it needs 96 bytes, the file ends after 84"},
      {"falta_la_unidad_de_atributo", prueba::registro_text_abc().substr(0, 72), 62,
       "is cut short: with num_elem 2 and atr 1 it needs 84 bytes, the file ends after 72"},
      {"num_elem_mas_alla_del_fin", hex("43 3D 30 31 30 31 00 00 00 00 FF 7F") + entero.substr(12), 62,
       "is cut short: with num_elem 32767 and atr 0 it needs 393252 bytes, the file ends after 60"},
      {"num_elem_negativo", hex("43 3D 30 31 30 31 00 00 00 00 FE FF") + entero.substr(12), 1,
       "has num_elem -2; a count of units is never negative"},
      {"atr_ni_0_ni_1", hex("43 3D 30 31 30 31 00 00 00 02 01 00") + entero.substr(12), 1,
       "has atr 2; a record holds 0 or 1 there"},
      {"clase_desconocida", hex("43 2D 30 31 30 31 00 00 00 00 01 00") + entero.substr(12), 1,
       "has class 43 2D; every record begins with \"C=\" or \"T=\""},
  };
  for (const auto& c : casos) {
    fuente_troceada f(entero + c.cola, 7);
    lector_bin l(f, "d/a.bin");
    registro_bin r;
    ASSERT_TRUE(l.siguiente(r)) << c.nombre;
    try {
      l.siguiente(r);
      ADD_FAILURE() << c.nombre << ": no error";
    } catch (const error_bin& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.nombre;
      EXPECT_EQ(e.orden(), 2u) << c.nombre;
      EXPECT_EQ(e.desplazamiento(), 60u) << c.nombre;
      EXPECT_EQ(e.que(), c.que) << c.nombre;
      EXPECT_EQ(e.fichero(), "d/a.bin") << c.nombre;
    }
    EXPECT_EQ(l.registros(), 1u) << c.nombre;
    EXPECT_EQ(l.desplazamiento(), 60u) << c.nombre;
  }
}

TEST(lector_bin, el_mensaje_da_numero_registro_desplazamiento_y_fichero) {
  const struct {
    std::string datos;
    const char* mensaje;
    const char* mensaje_es;
  } casos[] = {
      {hex("43 3D 30"),
       "Error 62 (input past end of file): record 1 at offset 0 is cut short: its header unit "
       "needs 12 bytes, the file ends after 3 -- d/a.bin",
       "Error 62 (se ha leído más allá del final del fichero): registro 1 en el desplazamiento 0 "
       "está cortado: su unidad de cabecera necesita 12 bytes y el fichero termina tras 3 -- d/a.bin"},
      {prueba::registro_point() + hex("43 3D 30 31 30 31 00 00 00 09 01 00"),
       "Error 1 (not an entity record): record 2 at offset 60 has atr 9; a record holds 0 or 1 "
       "there -- d/a.bin",
       "Error 1 (no es un registro de entidad): registro 2 en el desplazamiento 60 tiene atr 9; "
       "un registro tiene ahí 0 o 1 -- d/a.bin"},
  };
  for (const auto& c : casos) {
    fuente_troceada f(c.datos, 1 << 16);
    lector_bin l(f, "d/a.bin");
    registro_bin r;
    try {
      while (l.siguiente(r)) {
      }
      ADD_FAILURE() << "no error for " << c.mensaje;
    } catch (const error_bin& e) {
      EXPECT_STREQ(e.what(), c.mensaje);
      EXPECT_EQ(e.mensaje(idioma::espanol), c.mensaje_es);
    }
  }
}

}  // namespace
}  // namespace tolvar
