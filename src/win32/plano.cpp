#include "win32/plano.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <string>
#include <string_view>

#include "core/texto.h"
#include "win32/texto_win32.h"

namespace tolvar {
namespace {

constexpr wchar_t clase_plano[] = L"TolvarPlano";
constexpr wchar_t clase_lienzo[] = L"TolvarLienzo";
constexpr int id_eleccion = 10;
constexpr int id_panel = 11;
// The colour squares of the panel, in pixels at 96 per inch.
constexpr int lado_muestra = 12;

int alto_de(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r.bottom - r.top;
}

bool registra(HINSTANCE instancia, const wchar_t* nombre, WNDPROC procedimiento, UINT estilo,
              HBRUSH fondo) {
  WNDCLASSEXW clase{};
  if (GetClassInfoExW(instancia, nombre, &clase)) return true;
  clase.cbSize = sizeof clase;
  clase.style = estilo;
  clase.lpfnWndProc = procedimiento;
  clase.hInstance = instancia;
  clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  clase.hbrBackground = fondo;
  clase.lpszClassName = nombre;
  return RegisterClassExW(&clase) != 0;
}

}  // namespace

void pinta_escena_gdi(HDC dc, const lista_plano& lista, const escena_plano& e, int ancho_px,
                      int alto_px) {
  const RECT todo{0, 0, ancho_px, alto_px};
  HBRUSH fondo = CreateSolidBrush(rgb(color_fondo_plano));
  FillRect(dc, &todo, fondo);
  DeleteObject(fondo);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);

  // One PolyPolyline a code: its lines and its crosses' arms, GDI leaving out each one's last
  // pixel as Qt's flat caps do.
  std::vector<POINT> puntos;
  std::vector<DWORD> cuentas;
  std::map<std::int32_t, HFONT> fuentes;   // by height, for this redraw
  const HGDIOBJ pluma_antes = GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ fuente_antes = GetCurrentObject(dc, OBJ_FONT);
  std::size_t lineas = 0, cruces = 0, sueltos = 0, textos = 0;
  for (const escena_plano::grupo& g : e.grupos) {
    const COLORREF color = rgb(lista.codigos()[g.codigo].color);
    HPEN pluma = CreatePen(PS_SOLID, 1, color);
    SelectObject(dc, pluma);
    puntos.clear();
    cuentas.clear();
    for (; lineas < g.lineas; ++lineas) {
      const std::uint32_t desde = lineas == 0 ? 0 : e.fin_lineas[lineas - 1];
      const std::uint32_t hasta = e.fin_lineas[lineas];
      for (std::uint32_t i = desde; i < hasta; ++i) puntos.push_back({e.puntos[i].x, e.puntos[i].y});
      cuentas.push_back(hasta - desde);
    }
    for (; cruces < g.cruces; ++cruces) {
      const punto_px m = e.cruces[cruces];
      puntos.push_back({m.x - e.brazo, m.y});
      puntos.push_back({m.x + e.brazo + 1, m.y});
      puntos.push_back({m.x, m.y - e.brazo});
      puntos.push_back({m.x, m.y + e.brazo + 1});
      cuentas.push_back(2);
      cuentas.push_back(2);
    }
    if (!cuentas.empty())
      PolyPolyline(dc, puntos.data(), cuentas.data(), static_cast<DWORD>(cuentas.size()));
    for (; sueltos < g.sueltos; ++sueltos) SetPixelV(dc, e.sueltos[sueltos].x, e.sueltos[sueltos].y, color);
    SetTextColor(dc, color);
    for (; textos < g.textos; ++textos) {
      const escena_plano::texto& t = e.textos[textos];
      HFONT& f = fuentes[t.alto];
      if (f == nullptr)
        // The character's height, as Qt's pixel size is: a negative height in GDI.
        f = CreateFontW(-t.alto, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                        VARIABLE_PITCH | FF_SWISS, L"Arial");
      SelectObject(dc, f);
      const std::wstring s = ancho(lista.texto(lista.registros()[t.registro]));
      TextOutW(dc, t.donde.x, t.donde.y, s.c_str(), static_cast<int>(s.size()));
    }
    SelectObject(dc, pluma_antes);
    DeleteObject(pluma);
  }
  SelectObject(dc, fuente_antes);
  for (const auto& [alto, f] : fuentes) DeleteObject(f);
}

ventana_plano::ventana_plano(HINSTANCE instancia, ficheros& fs) : instancia_(instancia), visor_(fs) {}

ventana_plano::~ventana_plano() {
  if (ventana_ != nullptr) DestroyWindow(ventana_);
  if (dc_memoria_ != nullptr) {
    SelectObject(dc_memoria_, mapa_antes_);
    DeleteDC(dc_memoria_);
  }
  if (mapa_ != nullptr) DeleteObject(mapa_);
  if (fuente_ != nullptr) DeleteObject(fuente_);
  if (muestras_ != nullptr) ImageList_Destroy(muestras_);
}

void ventana_plano::abre(HWND dueno, const std::vector<std::filesystem::path>& bins) {
  if (ventana_ == nullptr && !crea(dueno)) return;
  llenando_ = true;
  SendMessageW(eleccion_, CB_RESETCONTENT, 0, 0);
  for (const std::filesystem::path& b : bins) {
    const std::wstring nombre = ancho(texto_ruta(b.filename()));
    SendMessageW(eleccion_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(nombre.c_str()));
  }
  visor_.pon_ficheros(bins);
  SendMessageW(eleccion_, CB_SETCURSEL, visor_.elegido(), 0);
  llenando_ = false;
  muestra_elegido();
  ShowWindow(ventana_, IsIconic(ventana_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(ventana_);
  SetFocus(lienzo_);
}

bool ventana_plano::crea(HWND dueno) {
  if (!registra(instancia_, clase_plano, procedimiento, 0,
                reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))) ||
      // Double clicks fit the map; the canvas paints its own background.
      !registra(instancia_, clase_lienzo, procedimiento_lienzo, CS_DBLCLKS, nullptr))
    return false;
  if (HDC pantalla = GetDC(nullptr)) {
    ppp_ = GetDeviceCaps(pantalla, LOGPIXELSY);
    ReleaseDC(nullptr, pantalla);
  }
  const std::wstring titulo = ancho(visor_.titulo());
  // Sized once its parts are made and measured.
  if (CreateWindowExW(0, clase_plano, titulo.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, dueno, nullptr, instancia_,
                      this) == nullptr)
    return false;

  NONCLIENTMETRICSW metricas{};
  metricas.cbSize = sizeof metricas;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metricas, &metricas, 0);
  fuente_ = CreateFontIndirectW(&metricas.lfMessageFont);

  const auto hijo = [this](DWORD extendido, const wchar_t* clase, DWORD estilo, int id) {
    HWND c = CreateWindowExW(extendido, clase, nullptr, WS_CHILD | WS_VISIBLE | estilo, 0, 0, 100,
                             pixeles(3000, ppp_), ventana_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instancia_, this);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(fuente_), FALSE);
    return c;
  };
  // The height given a drop-down list is its list's; the box itself takes its font's.
  eleccion_ = hijo(0, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, id_eleccion);
  lienzo_ = hijo(0, clase_lienzo, WS_TABSTOP, 0);
  panel_ = hijo(WS_EX_CLIENTEDGE, WC_LISTVIEWW,
                LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                id_panel);
  estado_ = hijo(0, STATUSCLASSNAMEW, 0, 0);
  ListView_SetExtendedListViewStyle(panel_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW columna{};
  columna.mask = LVCF_WIDTH;
  columna.cx = pixeles(ancho_panel_plano, ppp_);
  ListView_InsertColumn(panel_, 0, &columna);
  const int lado = pixeles(lado_muestra * 15, ppp_);
  muestras_ = ImageList_Create(lado, lado, ILC_COLOR24, 8, 8);
  ListView_SetImageList(panel_, muestras_, LVSIL_SMALL);

  RECT r{};
  GetWindowRect(eleccion_, &r);
  alto_eleccion_ = r.bottom - r.top;
  SendMessageW(estado_, WM_SIZE, 0, 0);
  alto_estado_ = alto_de(estado_);
  const rectangulo_px dentro = tamano_inicial_plano(alto_eleccion_, alto_estado_, ppp_);
  RECT marco{0, 0, dentro.ancho, dentro.alto};
  AdjustWindowRectEx(&marco, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetWindowPos(ventana_, nullptr, 0, 0, marco.right - marco.left, marco.bottom - marco.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  coloca();
  return true;
}

LRESULT CALLBACK ventana_plano::procedimiento(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* v = reinterpret_cast<ventana_plano*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (m == WM_NCCREATE) {
    v = static_cast<ventana_plano*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    v->ventana_ = h;
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
  }
  if (v == nullptr) return DefWindowProcW(h, m, w, l);
  // No exception may cross the system's frames: a map that cannot be drawn shows nothing.
  try {
    return v->mensaje(h, m, w, l);
  } catch (const std::exception&) {
    return DefWindowProcW(h, m, w, l);
  }
}

LRESULT CALLBACK ventana_plano::procedimiento_lienzo(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* v = reinterpret_cast<ventana_plano*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (m == WM_NCCREATE) {
    v = static_cast<ventana_plano*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
  }
  if (v == nullptr) return DefWindowProcW(h, m, w, l);
  try {
    return v->mensaje_lienzo(h, m, w, l);
  } catch (const std::exception&) {
    return DefWindowProcW(h, m, w, l);
  }
}

LRESULT ventana_plano::mensaje(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_SIZE:
      if (estado_ != nullptr) {
        SendMessageW(estado_, WM_SIZE, 0, 0);
        coloca();
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == id_eleccion && HIWORD(w) == CBN_SELCHANGE && !llenando_) {
        const LRESULT i = SendMessageW(eleccion_, CB_GETCURSEL, 0, 0);
        if (i >= 0) {
          SetCursor(LoadCursorW(nullptr, IDC_WAIT));
          visor_.elige(static_cast<std::size_t>(i));
          muestra_elegido();
          SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        }
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(l);
      if (n->idFrom == id_panel && n->code == LVN_ITEMCHANGED && !llenando_) {
        const auto* c = reinterpret_cast<const NMLISTVIEW*>(l);
        // The check box is the item's state image: only its change counts.
        if ((c->uChanged & LVIF_STATE) != 0 &&
            ((c->uNewState ^ c->uOldState) & LVIS_STATEIMAGEMASK) != 0 && c->iItem >= 0) {
          visor_.muestra_codigo(static_cast<std::size_t>(c->iItem),
                                ListView_GetCheckState(panel_, c->iItem) != 0);
          cambia();
        }
        return 0;
      }
      break;
    }
    case WM_MOUSEWHEEL:
      // The wheel goes to the window with the focus; over the canvas it is the canvas's.
      return SendMessageW(lienzo_, m, w, l);
    case WM_CLOSE:
      // Hidden rather than destroyed, and the map let go: the next press of "Ver plano"
      // reads it again.
      ShowWindow(h, SW_HIDE);
      visor_.pon_ficheros({});
      return 0;
    case WM_DESTROY:
      ventana_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(h, m, w, l);
}

LRESULT ventana_plano::mensaje_lienzo(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      pinta(dc);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_SIZE:
      visor_.tamano(LOWORD(l), HIWORD(l), ppp_);
      cambia();
      return 0;
    case WM_MOUSEWHEEL: {
      POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      ScreenToClient(h, &p);
      RECT r{};
      GetClientRect(h, &r);
      if (!PtInRect(&r, p)) return 0;
      visor_.rueda({p.x + 0.5, p.y + 0.5}, GET_WHEEL_DELTA_WPARAM(w) / static_cast<double>(WHEEL_DELTA));
      cambia();
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(h);
      SetCapture(h);
      arrastre_ = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      return 0;
    case WM_LBUTTONUP:
      arrastre_.reset();
      ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      arrastre_.reset();
      return 0;
    case WM_MOUSEMOVE: {
      const POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      if (!sigue_raton_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
        sigue_raton_ = TrackMouseEvent(&t) != FALSE;
      }
      visor_.puntero(punto_px{p.x, p.y});
      if (arrastre_ && (w & MK_LBUTTON) != 0) {
        visor_.arrastra(p.x - arrastre_->x, p.y - arrastre_->y);
        arrastre_ = p;
        cambia();
      } else {
        pon_estado();
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      sigue_raton_ = false;
      visor_.puntero(std::nullopt);
      pon_estado();
      return 0;
    case WM_LBUTTONDBLCLK:
      visor_.encaja();
      cambia();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: {
      std::optional<tecla_plano> t;
      switch (w) {
        case VK_LEFT: t = tecla_plano::izquierda; break;
        case VK_RIGHT: t = tecla_plano::derecha; break;
        case VK_UP: t = tecla_plano::arriba; break;
        case VK_DOWN: t = tecla_plano::abajo; break;
        case VK_HOME: t = tecla_plano::inicio; break;
        default: break;
      }
      if (!t) break;
      visor_.pulsa(*t);
      cambia();
      return 0;
    }
    case WM_CHAR:
      // As typed, whatever the keyboard's layout puts them on, the keypad's included.
      if (w == L'+' || w == L'-') {
        visor_.pulsa(w == L'+' ? tecla_plano::mas : tecla_plano::menos);
        cambia();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(h, m, w, l);
}

void ventana_plano::coloca() {
  RECT r{};
  GetClientRect(ventana_, &r);
  const sitios_plano s = reparte_plano(r.right, r.bottom, alto_eleccion_, alto_estado_, ppp_);
  // The drop-down list reaches down over the canvas when open.
  MoveWindow(eleccion_, s.eleccion.izquierda, s.eleccion.arriba, s.eleccion.ancho,
             s.eleccion.alto + s.lienzo.alto / 2, TRUE);
  MoveWindow(lienzo_, s.lienzo.izquierda, s.lienzo.arriba, s.lienzo.ancho, s.lienzo.alto, TRUE);
  MoveWindow(panel_, s.panel.izquierda, s.panel.arriba, s.panel.ancho, s.panel.alto, TRUE);
  ListView_SetColumnWidth(panel_, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void ventana_plano::muestra_elegido() {
  SetWindowTextW(ventana_, ancho(visor_.titulo()).c_str());
  llenando_ = true;
  ListView_DeleteAllItems(panel_);
  ImageList_RemoveAll(muestras_);
  const std::vector<codigo_plano>& codigos = visor_.lista().codigos();
  const int lado = pixeles(lado_muestra * 15, ppp_);
  HDC pantalla = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(pantalla);
  for (std::size_t i = 0; i < codigos.size(); ++i) {
    HBITMAP muestra = CreateCompatibleBitmap(pantalla, lado, lado);
    const HGDIOBJ antes = SelectObject(dc, muestra);
    HBRUSH b = CreateSolidBrush(rgb(codigos[i].color));
    const RECT cuadro{0, 0, lado, lado};
    FillRect(dc, &cuadro, b);
    DeleteObject(b);
    SelectObject(dc, antes);
    ImageList_Add(muestras_, muestra, nullptr);
    DeleteObject(muestra);

    std::wstring texto = ancho(visor_.linea_panel(i));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = texto.data();
    item.iImage = static_cast<int>(i);
    ListView_InsertItem(panel_, &item);
    ListView_SetCheckState(panel_, static_cast<int>(i), visor_.visible(i));
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, pantalla);
  llenando_ = false;
  cambia();
}

void ventana_plano::cambia() {
  // Not before the canvas has its handle: a null one would name the whole screen.
  if (lienzo_ != nullptr) InvalidateRect(lienzo_, nullptr, FALSE);
  pon_estado();
}

void ventana_plano::pon_estado() {
  if (estado_ == nullptr) return;
  SendMessageW(estado_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(ancho(visor_.texto_estado()).c_str()));
}

void ventana_plano::pinta(HDC dc) {
  RECT r{};
  GetClientRect(lienzo_, &r);
  const int a = std::max<int>(r.right, 1), b = std::max<int>(r.bottom, 1);
  if (dc_memoria_ == nullptr) {
    dc_memoria_ = CreateCompatibleDC(dc);
  }
  if (a != ancho_mapa_ || b != alto_mapa_) {
    HBITMAP nuevo = CreateCompatibleBitmap(dc, a, b);
    const HGDIOBJ antes = SelectObject(dc_memoria_, nuevo);
    if (mapa_ == nullptr) {
      mapa_antes_ = antes;
    } else {
      DeleteObject(mapa_);
    }
    mapa_ = nuevo;
    ancho_mapa_ = a;
    alto_mapa_ = b;
  }
  pinta_escena_gdi(dc_memoria_, visor_.lista(), visor_.escena(), a, b);
  if (!visor_.error().empty()) {
    // The reader's message, where the map would be.
    const HGDIOBJ antes = SelectObject(dc_memoria_, fuente_);
    SetTextColor(dc_memoria_, GetSysColor(COLOR_WINDOWTEXT));
    SetTextAlign(dc_memoria_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    RECT texto{pixeles(240, ppp_), pixeles(240, ppp_), a - pixeles(240, ppp_), b - pixeles(240, ppp_)};
    const std::wstring aviso = ancho(visor_.error());
    DrawTextW(dc_memoria_, aviso.c_str(), static_cast<int>(aviso.size()), &texto,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc_memoria_, antes);
  }
  BitBlt(dc, 0, 0, a, b, dc_memoria_, 0, 0, SRCCOPY);
}

}  // namespace tolvar
