#pragma once

// The main window as both toolkits draw it: its controls, their captions and places, its
// colours and the texts of its dialog. Captions are UTF-8; places are in twips, 1/1440 inch.

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace tolvar {

// The controls, in the order they are created: a toolkit that tabs in creation order tabs from
// the button to the map's (while a batch has given it a map), then through the boxes, the
// options and the three check boxes.
enum class control : std::uint8_t {
  Command1, Command2, Label2, Text1, Label3, Text2, Label4, Text3, Frame1, Option1, Option2,
  Label5, Label6, Label7, Check1, Check2, Check3, Label1,
};

enum class tipo_control : std::uint8_t { boton, etiqueta, caja, marco, opcion, casilla };

struct sitio_twips {
  int izquierda, arriba, ancho, alto;
};

struct descripcion_control {
  control id;
  const char* nombre;
  tipo_control tipo;
  const char* texto;   // at start
  sitio_twips sitio;   // the options' inside Frame1, the others' inside the window
};

inline constexpr descripcion_control controles_ventana[] = {
    {control::Command1, "Command1", tipo_control::boton, "Elegir Fichero", {360, 600, 1455, 855}},
    // Under the first, as wide, in the free place down to the lines of the files.
    {control::Command2, "Command2", tipo_control::boton, "Ver plano", {360, 1620, 1455, 435}},
    {control::Label2, "Label2", tipo_control::etiqueta, "POLYLINE leidas :", {2640, 480, 1815, 255}},
    {control::Text1, "Text1", tipo_control::caja, "0", {4440, 480, 855, 285}},
    {control::Label3, "Label3", tipo_control::etiqueta, "POINT leidos :", {2640, 960, 1695, 375}},
    {control::Text2, "Text2", tipo_control::caja, "0", {4440, 960, 855, 285}},
    {control::Label4, "Label4", tipo_control::etiqueta, "TEXT leidos  :", {2640, 1440, 1695, 375}},
    {control::Text3, "Text3", tipo_control::caja, "0", {4440, 1440, 855, 285}},
    {control::Frame1, "Frame1", tipo_control::marco, "Añadir ATR =201", {5760, 480, 1695, 1095}},
    {control::Option1, "Option1", tipo_control::opcion, "Sí", {120, 360, 1335, 255}},
    {control::Option2, "Option2", tipo_control::opcion, "No", {120, 600, 1215, 375}},
    // Two lines high, so that a long path goes below its caption, broken at the space after
    // the colon.
    {control::Label5, "Label5", tipo_control::etiqueta, "", {240, 2160, 6615, 495}},
    {control::Label6, "Label6", tipo_control::etiqueta, "", {240, 2880, 6615, 615}},
    {control::Label7, "Label7", tipo_control::etiqueta, "", {240, 3600, 6615, 615}},
    // Under the attribute frame, as wide as the counters and the frame together: its caption
    // does not fit under the frame alone. Ten names do not fit at all: the tooltip lists them.
    {control::Check1, "Check1", tipo_control::casilla, "Leer también todas las demás entidades",
     {2640, 1800, 4815, 300}},
    // Beside the end message, the one free place as wide as its caption.
    {control::Check2, "Check2", tipo_control::casilla, "Trazar los arcos de las polilíneas",
     {240, 4620, 3960, 300}},
    // Under the second, in the last free strip above the window's bottom edge.
    {control::Check3, "Check3", tipo_control::casilla, "Dibujar los bloques", {240, 4920, 3960, 300}},
    {control::Label1, "Label1", tipo_control::etiqueta, "Proceso Finalizado.", {4320, 4560, 3015, 615}},
};
inline constexpr std::size_t num_controles = std::size(controles_ventana);

constexpr const descripcion_control& descripcion(control c) noexcept {
  return controles_ventana[static_cast<std::size_t>(c)];
}
// The table is indexed by the enumeration: a control added to one and not the other, or in
// another order, fails here.
static_assert([] {
  for (std::size_t i = 0; i < num_controles; ++i)
    if (static_cast<std::size_t>(controles_ventana[i].id) != i) return false;
  return static_cast<std::size_t>(control::Label1) + 1 == num_controles;
}());

inline constexpr const char* titulo_ventana = "TOLVAR";
inline constexpr int ancho_ventana = 7635;   // the inner area, in twips
inline constexpr int alto_ventana = 5475;

struct color_rgb {
  std::uint8_t rojo, verde, azul;
};
inline constexpr color_rgb color_boton{224, 224, 224};       // Command1's face (Command2 keeps the system's)
inline constexpr color_rgb color_cajas{255, 224, 192};       // Text1 to Text3
inline constexpr color_rgb color_fin{192, 0, 0};             // Label1's text
inline constexpr double puntos_fin = 13.5;                   // Label1's bold font, in points

inline constexpr const char* titulo_dialogo = "Seleccinar fichero .dxf a tratar";
// The dialog's one filter.
inline constexpr const char* descripcion_filtro = "Fichero DXF (*.dxf)";
inline constexpr const char* patron_filtro = "*.dxf";

// The about box, from the window's context menu or F1: its menu entry and its title.
inline constexpr const char* orden_acerca = "Acerca de Tolvar…";
inline constexpr const char* titulo_acerca = "Acerca de Tolvar";

// The map preview. The canvas opens at the same size in both windows, whatever their fonts
// make of the choice box and the status bar; the panel of codes is as wide in both.
inline constexpr const char* titulo_plano = "Plano";
inline constexpr int ancho_lienzo_plano = 9600;   // twips: 640 x 480 pixels at 96
inline constexpr int alto_lienzo_plano = 7200;
inline constexpr int ancho_panel_plano = 3000;
inline constexpr int margen_plano = 90;           // round the choice box and the panel
inline constexpr int brazo_cruz = 45;             // each arm of a point's cross
// A paper-like background, not quite white, so that a screenshot shows where the map is.
inline constexpr color_rgb color_fondo_plano{250, 250, 245};
// The code of layers the table does not classify: no other code's colour comes near it.
inline constexpr color_rgb color_nuevo{230, 0, 0};

// Twips to the pixels of a screen of `ppp` pixels per inch, to the nearest pixel: 15 twips a
// pixel at 96.
constexpr int pixeles(int twips, int ppp) noexcept {
  const long long t = static_cast<long long>(twips) * ppp;
  return static_cast<int>(t >= 0 ? (t + 720) / 1440 : -((-t + 720) / 1440));
}

}  // namespace tolvar
