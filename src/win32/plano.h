#pragma once

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "core/ficheros.h"
#include "ventana/visor_plano.h"

namespace tolvar {

// Draws a redraw of `lista` with GDI into `dc`: the background, then code by code its lines,
// crosses, lone pixels and texts, as pinta_escena draws them with Qt in the Linux window.
void pinta_escena_gdi(HDC dc, const lista_plano& lista, const escena_plano& e, int ancho,
                      int alto);

// The map preview window on the Win32 API: the choice of .bin across the top, the canvas,
// drawn double-buffered, the panel of codes on the right and the status bar. What it does is
// the visor's, which the Qt window shares. A window owned by the main one: above it, gone
// with it.
class ventana_plano {
 public:
  // `fs` must outlive the window.
  ventana_plano(HINSTANCE instancia, ficheros& fs);
  ~ventana_plano();
  ventana_plano(const ventana_plano&) = delete;
  ventana_plano& operator=(const ventana_plano&) = delete;

  // Creates the window the first time, owned by `dueno`; shows the batch's files, the last
  // first, and brings it forward.
  void abre(HWND dueno, const std::vector<std::filesystem::path>& bins);
  // The window, once made: the message loop hands it the keys as to a dialog.
  HWND hwnd() const noexcept { return ventana_; }

 private:
  static LRESULT CALLBACK procedimiento(HWND h, UINT m, WPARAM w, LPARAM l);
  static LRESULT CALLBACK procedimiento_lienzo(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT mensaje(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT mensaje_lienzo(HWND h, UINT m, WPARAM w, LPARAM l);
  bool crea(HWND dueno);
  void coloca();
  void muestra_elegido();
  void cambia();             // after a change of the view: redraw, status
  void pon_estado();
  void pinta(HDC dc);

  HINSTANCE instancia_;
  visor_plano visor_;
  HWND ventana_ = nullptr;
  HWND eleccion_ = nullptr;
  HWND lienzo_ = nullptr;
  HWND panel_ = nullptr;
  HWND estado_ = nullptr;
  HFONT fuente_ = nullptr;
  HIMAGELIST muestras_ = nullptr;   // each code's colour, for the panel
  int ppp_ = 96;
  int alto_eleccion_ = 0, alto_estado_ = 0;
  // The canvas drawn here first, then copied whole: no flicker on a redraw.
  HDC dc_memoria_ = nullptr;
  HBITMAP mapa_ = nullptr;
  HGDIOBJ mapa_antes_ = nullptr;
  int ancho_mapa_ = 0, alto_mapa_ = 0;
  std::optional<POINT> arrastre_;   // where the left button went down, while it is
  bool sigue_raton_ = false;        // WM_MOUSELEAVE asked for
  bool llenando_ = false;           // the panel and the choice are being filled, not clicked
};

}  // namespace tolvar
