#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ficheros.h"
#include "ventana/disposicion.h"
#include "ventana/formulario.h"
#include "win32/plano.h"

namespace tolvar {

// The main window on the Win32 API: its controls and its messages. What it does with them is
// the formulario's, which the Qt window shares.
class Form1 final : private controles {
 public:
  explicit Form1(HINSTANCE instancia);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Creates and shows the window and handles its messages until it is closed (0) or a
  // failure ends the program (the error's number): the program's exit status.
  int ejecuta(int como_se_muestra);

 private:
  static LRESULT CALLBACK procedimiento(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT mensaje(HWND h, UINT m, WPARAM w, LPARAM l);
  void crea_controles();
  void dibuja_boton(const DRAWITEMSTRUCT& d) const;
  // The version and what the window is for: F1, the context menu or the title bar's menu.
  void acerca();
  HWND hwnd(control c) const { return hwnds_[static_cast<std::size_t>(c)]; }

  std::filesystem::path elige_fichero(const std::filesystem::path& anterior) override;
  void pon_texto(control c, const std::string& texto) override;
  void muestra(control c, bool visible) override;
  void habilita(control c, bool activo) override;
  bool marcado(control c) const override;
  void marca(control c, bool marcado) override;
  void puntero_espera(bool activo) override;
  void avisa_error(const std::string& titulo, const std::string& texto) override;
  void termina(int estado) override;
  void abre_plano(const std::vector<std::filesystem::path>& bins) override;

  HINSTANCE instancia_;
  HWND ventana_ = nullptr;
  std::array<HWND, num_controles> hwnds_{};
  int ppp_ = 96;                    // the screen's pixels per inch
  HFONT fuente_ = nullptr;          // the system's message font
  HFONT fuente_fin_ = nullptr;      // Label1's
  HBRUSH fondo_cajas_ = nullptr;
  HBRUSH cara_boton_ = nullptr;
  HWND foco_ = nullptr;             // the control to focus when the window is activated
  bool espera_ = false;
  int estado_ = 0;                  // the exit status once the window is gone

  ficheros_disco disco_;
  formulario formulario_{*this, disco_};
  ventana_plano plano_{instancia_, disco_};
};

}  // namespace tolvar
