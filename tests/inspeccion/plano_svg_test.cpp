#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "inspeccion/lector_bin.h"
#include "inspeccion/plano_svg.h"
#include "support/ficheros_memoria.h"
#include "support/registros_prueba.h"

namespace tolvar {
namespace {

using prueba::hex;

// The SVG drawn from `datos` as d/a.bin; `numero` receives the status of a break, 0 if none.
std::string dibuja(const std::string& datos, int* numero = nullptr) {
  ficheros_memoria fs;
  fs.pon("d/a.bin", datos);
  int estado = 0;
  try {
    dibuja_bin(fs, "d/a.bin", "d/a.svg");
  } catch (const error_bin& e) {
    estado = e.numero();
  }
  if (numero != nullptr) {
    *numero = estado;
  } else {
    EXPECT_EQ(estado, 0);
  }
  const auto svg = fs.lee("d/a.svg");
  EXPECT_TRUE(svg.has_value());
  return svg.value_or("");
}

std::string_view grupo(std::string_view svg, std::string_view id) {
  const std::string inicio = "<g id=\"" + std::string(id) + "\">";
  const std::size_t a = svg.find(inicio);
  if (a == std::string_view::npos) return {};
  const std::size_t b = svg.find("</g>", a);
  return svg.substr(a, b - a);
}

std::size_t cuenta(std::string_view texto, std::string_view que) {
  std::size_t n = 0;
  for (std::size_t p = texto.find(que); p != std::string_view::npos; p = texto.find(que, p + 1)) ++n;
  return n;
}

// An open polyline on code 0202 from (30, 4000040, 0) to (35, 4000045, 0).
std::string polyline_abierta() {
  return hex(
      "43 3D 30 32 30 32 00 00 00 00 02 00"
      "30 75 00 00 40 9C 00 00 00 00 00 00"
      "B8 88 00 00 C8 AF 00 00 00 00 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "30 75 00 00 40 9C 00 00 00 00 00 00"     // 30000 40000 0
      "B8 88 00 00 C8 AF 00 00 00 00 00 00");   // 35000 45000 0
}

TEST(plano_svg, cada_registro_es_su_elemento_y_cada_codigo_una_entrada_de_la_leyenda) {
  const std::string svg =
      dibuja(prueba::registro_point() + prueba::registro_text_abc() +
             prueba::registro_polyline_cerrada() + polyline_abierta() + prueba::registro_triang());
  const std::string_view plano = grupo(svg, "plano");
  EXPECT_EQ(cuenta(plano, "<polyline "), 2u);
  EXPECT_EQ(cuenta(plano, "<circle "), 1u);
  EXPECT_EQ(cuenta(plano, "<text "), 1u);
  EXPECT_EQ(cuenta(plano, "<polygon "), 1u);
  const std::string_view leyenda = grupo(svg, "leyenda");
  EXPECT_EQ(cuenta(leyenda, "<rect "), 4u);
  EXPECT_NE(leyenda.find(">0101 (2)</text>"), std::string_view::npos) << leyenda;
  EXPECT_NE(leyenda.find(">Nuevo (1)</text>"), std::string_view::npos) << leyenda;
  EXPECT_NE(leyenda.find(">0202 (1)</text>"), std::string_view::npos) << leyenda;
  EXPECT_NE(leyenda.find(">TRIANG (1)</text>"), std::string_view::npos) << leyenda;
  // One colour per code, in the order the codes first appear.
  for (const char* clase : {".c0{", ".c1{", ".c2{", ".c3{"})
    EXPECT_NE(svg.find(clase), std::string::npos) << clase;
  EXPECT_EQ(svg.find(".c4{"), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(plano_svg, coordenadas_con_el_norte_arriba_desde_la_esquina_noroeste) {
  // Extent: x 1.5 to 20, northing 4000002.25 to 4000020. The map counts from x 1.5 east and
  // from northing 4000020 south; the margin is a fiftieth of the longer side (0.37).
  const std::string svg = dibuja(prueba::registro_point() + prueba::registro_text_abc() +
                                 prueba::registro_polyline_cerrada());
  EXPECT_NE(svg.find("<svg x=\"0\" y=\"0\" width=\"1000\" height=\"961\" "
                     "viewBox=\"-0.37 -0.37 19.24 18.49\">"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<desc>x = easting - 1.5, y = 4000020 - northing, in drawing units</desc>"),
            std::string::npos);
  const std::string_view plano = grupo(svg, "plano");
  EXPECT_EQ(plano,
            "<g id=\"plano\">\n"
            "<circle class=\"c0\" cx=\"0\" cy=\"17.75\" r=\"0.048\"/>\n"
            "<text class=\"c0\" x=\"0\" y=\"17.75\" font-size=\"2.5\">ABC</text>\n"
            // closed: it ends where it starts; the northing 4000020 is at the top, y 0
            "<polyline class=\"c1\" points=\"8.5,10 18.5,10 18.5,0 8.5,10\"/>\n");
  EXPECT_NE(svg.find("<rect class=\"c0\" x=\"1020\" y=\"27\" width=\"12\" height=\"12\"/>"
                     "<text x=\"1038\" y=\"38\">0101 (2)</text>\n"
                     "<rect class=\"c1\" x=\"1020\" y=\"45\" width=\"12\" height=\"12\"/>"
                     "<text x=\"1038\" y=\"56\">Nuevo (1)</text>\n"),
            std::string::npos)
      << svg;
}

TEST(plano_svg, los_triangulos_se_dibujan_sin_rebaje_del_norte) {
  // Alone, the triangle spans x 1 to 4 and northing 2 to 6 (not 4000002 to 4000006).
  const std::string svg = dibuja(prueba::registro_triang());
  EXPECT_NE(svg.find("<polygon class=\"c0\" points=\"0,4 3,4 0,0\"/>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("<desc>x = easting - 1, y = 6 - northing, in drawing units</desc>"),
            std::string::npos);
}

TEST(plano_svg, el_texto_se_escapa_para_xml_y_pasa_a_utf8) {
  const std::string datos = hex(
      "54 3D 30 31 30 31 00 00 00 00 02 00"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "E8 03 00 00 00 00 00 00 00 00 00 00"     // height 1
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "41 3C 42 26 43 22 F1 01 00 20 20 20");   // A<B&C" n-tilde 0x01
  const std::string svg = dibuja(datos);
  EXPECT_NE(svg.find(">A&lt;B&amp;C&quot;\xC3\xB1\xEF\xBF\xBD</text>"), std::string::npos) << svg;
}

TEST(plano_svg, un_fichero_vacio_da_un_plano_vacio) {
  const std::string svg = dibuja("");
  EXPECT_NE(svg.find("viewBox=\"-1 -1 2 2\""), std::string::npos) << svg;
  EXPECT_EQ(grupo(svg, "plano"), "<g id=\"plano\">\n");
  EXPECT_EQ(cuenta(grupo(svg, "leyenda"), "<rect "), 0u);
}

TEST(plano_svg, un_fichero_roto_dibuja_los_registros_enteros_y_da_su_error) {
  const struct {
    const char* nombre;
    std::string cola;
    int numero;
  } casos[] = {
      {"cabecera_cortada", hex("43 3D 30"), 62},
      {"num_elem_negativo", hex("43 3D 30 31 30 31 00 00 00 00 FF FF"), 1},
  };
  for (const auto& c : casos) {
    int numero = 0;
    const std::string svg =
        dibuja(prueba::registro_point() + prueba::registro_polyline_cerrada() + c.cola, &numero);
    EXPECT_EQ(numero, c.numero) << c.nombre;
    EXPECT_EQ(cuenta(grupo(svg, "plano"), "<circle "), 1u) << c.nombre;
    EXPECT_EQ(cuenta(grupo(svg, "plano"), "<polyline "), 1u) << c.nombre;
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n") << c.nombre;
  }
}

TEST(plano_svg, mas_codigos_que_caben_en_la_leyenda_se_resumen) {
  std::string datos;
  for (int i = 0; i < 45; ++i) {
    const char d1 = static_cast<char>('0' + i / 10), d2 = static_cast<char>('0' + i % 10);
    datos += std::string("C=") + d1 + d2 + std::string(5, '\0') + '\0' + hex("01 00") +
             prueba::registro_point().substr(12);
  }
  const std::string svg = dibuja(datos);
  const std::string_view leyenda = grupo(svg, "leyenda");
  EXPECT_EQ(cuenta(leyenda, "<rect "), 40u);
  EXPECT_NE(leyenda.find(">and 5 more codes</text>"), std::string_view::npos) << leyenda;
  EXPECT_NE(svg.find(".c44{stroke:hsl("), std::string::npos);
}

}  // namespace
}  // namespace tolvar
