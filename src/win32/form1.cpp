#include "win32/form1.h"

#include <commctrl.h>
#include <commdlg.h>

#include <exception>
#include <string>
#include <string_view>

#include "win32/recursos.h"
#include "win32/texto_win32.h"

namespace tolvar {
namespace {

constexpr wchar_t clase_form1[] = L"TolvarForm1";
// Each control's id: this plus its place in controles_ventana. Above IDOK and IDCANCEL, which
// the dialog keys (Enter, Escape) send to the window.
constexpr int primer_id = 100;

int id(control c) { return primer_id + static_cast<int>(c); }
// The about box's entry in the context menu and the system menu, whose commands keep their
// low four bits clear and stay below the system's own.
constexpr UINT_PTR orden_acerca_id = 0x0010;

}  // namespace

Form1::Form1(HINSTANCE instancia) : instancia_(instancia) {}

Form1::~Form1() {
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(fuente_), static_cast<HGDIOBJ>(fuente_fin_),
                    static_cast<HGDIOBJ>(fondo_cajas_), static_cast<HGDIOBJ>(cara_boton_)})
    if (o != nullptr) DeleteObject(o);
}

int Form1::ejecuta(int como_se_muestra) {
  WNDCLASSEXW clase{};
  clase.cbSize = sizeof clase;
  clase.lpfnWndProc = procedimiento;
  clase.hInstance = instancia_;
  clase.hIcon = LoadIconW(instancia_, MAKEINTRESOURCEW(TOLVAR_ICONO));
  clase.hIconSm = static_cast<HICON>(
      LoadImageW(instancia_, MAKEINTRESOURCEW(TOLVAR_ICONO), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // The colour of dialogs, under labels and buttons alike.
  clase.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  clase.lpszClassName = clase_form1;
  if (RegisterClassExW(&clase) == 0) return 1;

  if (HDC pantalla = GetDC(nullptr)) {
    ppp_ = GetDeviceCaps(pantalla, LOGPIXELSY);
    ReleaseDC(nullptr, pantalla);
  }
  // A fixed size, as the layout is: no sizing border, no maximize box.
  const DWORD estilo = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, pixeles(ancho_ventana, ppp_), pixeles(alto_ventana, ppp_)};
  AdjustWindowRectEx(&r, estilo, FALSE, 0);
  if (CreateWindowExW(0, clase_form1, ancho(titulo_ventana).c_str(), estilo, CW_USEDEFAULT,
                      CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                      instancia_, this) == nullptr)
    return estado_ != 0 ? estado_ : 1;
  // The about box in the title bar's menu too, where Windows programs keep it.
  if (HMENU sistema = GetSystemMenu(ventana_, FALSE)) {
    AppendMenuW(sistema, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(sistema, MF_STRING, orden_acerca_id, ancho(orden_acerca).c_str());
  }
  ShowWindow(ventana_, como_se_muestra);
  UpdateWindow(ventana_);
  foco_ = hwnd(control::Command1);
  SetFocus(foco_);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    // Tab, the arrows among the options and the space bar on the focused control, as in a
    // dialog.
    if (ventana_ != nullptr && IsDialogMessageW(ventana_, &m)) continue;
    // The map preview too: Tab between the choice, the canvas and the panel; the canvas asks
    // for the arrows and the characters itself.
    if (HWND plano = plano_.hwnd(); plano != nullptr && IsDialogMessageW(plano, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return static_cast<int>(m.wParam);
}

LRESULT CALLBACK Form1::procedimiento(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* f = reinterpret_cast<Form1*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (m == WM_NCCREATE) {
    f = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    f->ventana_ = h;
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(f));
  }
  if (f == nullptr) return DefWindowProcW(h, m, w, l);
  // No exception may cross the system's frames back to the message loop.
  try {
    return f->mensaje(h, m, w, l);
  } catch (const std::exception& x) {
    f->avisa_error(titulo_ventana, std::string("Error 1: ") + x.what());
  } catch (...) {
    f->avisa_error(titulo_ventana, "Error 1");
  }
  // A window that failed to be made is no window: CreateWindowExW fails and ejecuta returns.
  f->estado_ = 1;
  if (m == WM_CREATE) return -1;
  f->termina(1);
  return 0;
}

LRESULT Form1::mensaje(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_CREATE:
      crea_controles();
      formulario_.Form_Load();
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == id(control::Command1) && HIWORD(w) == BN_CLICKED) {
        formulario_.Command1_Click();
        return 0;
      }
      if (LOWORD(w) == id(control::Command2) && HIWORD(w) == BN_CLICKED) {
        formulario_.Command2_Click();
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      if (d->CtlID == static_cast<UINT>(id(control::Command1))) {
        dibuja_boton(*d);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLOREDIT: {
      const auto c = reinterpret_cast<HWND>(l);
      if (c == hwnd(control::Text1) || c == hwnd(control::Text2) || c == hwnd(control::Text3)) {
        SetBkColor(reinterpret_cast<HDC>(w), rgb(color_cajas));
        return reinterpret_cast<LRESULT>(fondo_cajas_);
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(l) == hwnd(control::Label1)) {
        const auto dc = reinterpret_cast<HDC>(w);
        SetTextColor(dc, rgb(color_fin));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_ACTIVATE:
      // A window that is not a dialog gets the focus itself when it comes back: the control
      // that had it before the Open dialog or another program took it gets it again.
      if (LOWORD(w) == WA_INACTIVE) {
        foco_ = GetFocus();
      } else if (foco_ != nullptr && IsChild(h, foco_)) {
        SetFocus(foco_);
        return 0;
      }
      break;
    case WM_HELP:
      // F1, wherever the focus is: the controls hand it to their parent.
      acerca();
      return TRUE;
    case WM_CONTEXTMENU: {
      POINT p{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
      // From the keyboard (the menu key, Shift+F10): at the window's corner.
      if (p.x == -1 && p.y == -1) {
        p = {0, 0};
        ClientToScreen(h, &p);
      }
      HMENU menu = CreatePopupMenu();
      AppendMenuW(menu, MF_STRING, orden_acerca_id, ancho(orden_acerca).c_str());
      const BOOL elegido =
          TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, h, nullptr);
      DestroyMenu(menu);
      if (static_cast<UINT_PTR>(elegido) == orden_acerca_id) acerca();
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((w & 0xFFF0) == orden_acerca_id) {
        acerca();
        return 0;
      }
      break;
    case WM_SETCURSOR:
      // Over the window and every control while a batch runs: the controls ask their parent
      // first.
      if (espera_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      ventana_ = nullptr;
      PostQuitMessage(estado_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(h, m, w, l);
}

void Form1::crea_controles() {
  NONCLIENTMETRICSW metricas{};
  metricas.cbSize = sizeof metricas;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metricas, &metricas, 0);
  // The font of message boxes, on every Windows and in the user's size; the layout's boxes
  // were drawn for an 8-point sans serif, which it is near.
  fuente_ = CreateFontIndirectW(&metricas.lfMessageFont);
  LOGFONTW fin = metricas.lfMessageFont;
  fin.lfWeight = FW_BOLD;
  fin.lfHeight = -MulDiv(static_cast<int>(puntos_fin * 10), ppp_, 720);
  fuente_fin_ = CreateFontIndirectW(&fin);
  fondo_cajas_ = CreateSolidBrush(rgb(color_cajas));
  cara_boton_ = CreateSolidBrush(rgb(color_boton));

  const sitio_twips& marco = descripcion(control::Frame1).sitio;
  for (const descripcion_control& d : controles_ventana) {
    const wchar_t* clase = L"BUTTON";
    // Every control but the second option starts a group: the arrows move between the two
    // options and nowhere else, and the options exclude only each other.
    DWORD estilo = WS_CHILD | WS_VISIBLE | (d.id == control::Option2 ? 0 : WS_GROUP);
    DWORD extendido = 0;
    int x = d.sitio.izquierda;
    int y = d.sitio.arriba;
    switch (d.tipo) {
      // Command1 drawn here: a standard button ignores the face colour it is given. Command2
      // keeps the system's face.
      case tipo_control::boton:
        estilo |= (d.id == control::Command1 ? BS_OWNERDRAW : BS_PUSHBUTTON) | WS_TABSTOP;
        break;
      // No prefix: an "&" in a path is a letter, not a mnemonic.
      case tipo_control::etiqueta: clase = L"STATIC"; estilo |= SS_LEFT | SS_NOPREFIX; break;
      case tipo_control::caja:
        clase = L"EDIT";
        estilo |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
        extendido = WS_EX_CLIENTEDGE;
        break;
      case tipo_control::marco: estilo |= BS_GROUPBOX; break;
      // Siblings of the frame rather than its children, which would keep their clicks to
      // themselves: placed by the frame's corner.
      case tipo_control::opcion:
        estilo |= BS_AUTORADIOBUTTON | (d.id == control::Option1 ? WS_TABSTOP : 0);
        x += marco.izquierda;
        y += marco.arriba;
        break;
      case tipo_control::casilla: estilo |= BS_AUTOCHECKBOX | WS_TABSTOP; break;
    }
    // Edges scaled, not sizes: neighbours stay flush at any resolution.
    const int izquierda = pixeles(x, ppp_);
    const int arriba = pixeles(y, ppp_);
    HWND c = CreateWindowExW(
        extendido, clase, ancho(d.texto).c_str(), estilo, izquierda, arriba,
        pixeles(x + d.sitio.ancho, ppp_) - izquierda, pixeles(y + d.sitio.alto, ppp_) - arriba,
        ventana_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id(d.id))), instancia_, nullptr);
    SendMessageW(c, WM_SETFONT,
                 reinterpret_cast<WPARAM>(d.id == control::Label1 ? fuente_fin_ : fuente_), FALSE);
    hwnds_[static_cast<std::size_t>(d.id)] = c;
  }

  HWND consejo = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ventana_, nullptr,
                                 instancia_, nullptr);
  if (consejo != nullptr) {
    const auto pon_consejo = [&](control c, std::wstring texto) {
      TTTOOLINFOW t{};
      // The size every version of the common controls knows, with or without a manifest.
      t.cbSize = TTTOOLINFOW_V2_SIZE;
      t.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      t.hwnd = ventana_;
      t.uId = reinterpret_cast<UINT_PTR>(hwnd(c));
      t.lpszText = texto.data();
      SendMessageW(consejo, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&t));
    };
    pon_consejo(control::Check1, ancho(tipos_de_la_casilla()));
    pon_consejo(control::Check3, ancho(consejo_bloques));
    SendMessageW(consejo, TTM_SETMAXTIPWIDTH, 0, pixeles(ancho_ventana, ppp_));
  }
}

void Form1::dibuja_boton(const DRAWITEMSTRUCT& d) const {
  RECT r = d.rcItem;
  const bool hundido = (d.itemState & ODS_SELECTED) != 0;
  FillRect(d.hDC, &r, cara_boton_);
  DrawEdge(d.hDC, &r, hundido ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(d.hwndItem)) + 1, L'\0');
  texto.resize(static_cast<std::size_t>(
      GetWindowTextW(d.hwndItem, texto.data(), static_cast<int>(texto.size()))));
  const HGDIOBJ antes = SelectObject(d.hDC, fuente_);
  SetBkMode(d.hDC, TRANSPARENT);
  SetTextColor(d.hDC, GetSysColor(COLOR_BTNTEXT));
  if (hundido) OffsetRect(&r, 1, 1);
  DrawTextW(d.hDC, texto.c_str(), static_cast<int>(texto.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(d.hDC, antes);
  // Only once the keyboard has been used, as the system's own buttons do.
  if ((d.itemState & ODS_FOCUS) != 0 && (d.itemState & ODS_NOFOCUSRECT) == 0) {
    RECT foco = d.rcItem;
    InflateRect(&foco, -4, -4);
    DrawFocusRect(d.hDC, &foco);
  }
}

std::filesystem::path Form1::elige_fichero(const std::filesystem::path& anterior) {
  // Description and pattern, each ended by a NUL, and the list by one more (c_str's).
  std::wstring filtro = ancho(descripcion_filtro);
  filtro += L'\0';
  filtro += ancho(patron_filtro);
  filtro += L'\0';
  const std::wstring titulo = ancho(titulo_dialogo);
  const std::wstring inicial = anterior.empty() ? std::wstring() : anterior.parent_path().wstring();
  // As long as a path can be on Windows.
  std::wstring elegido(32768, L'\0');
  OPENFILENAMEW o{};
  o.lStructSize = sizeof o;
  o.hwndOwner = ventana_;
  o.lpstrFilter = filtro.c_str();
  o.nFilterIndex = 1;
  o.lpstrFile = elegido.data();
  o.nMaxFile = static_cast<DWORD>(elegido.size());
  o.lpstrInitialDir = inicial.empty() ? nullptr : inicial.c_str();
  o.lpstrTitle = titulo.c_str();
  // A mistyped name would end the program with "file not found" in the middle of the work;
  // the dialog refuses it instead. The process's directory stays where it was.
  o.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
            OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  // Cancelled, or a dialog that could not open: no choice either way.
  if (!GetOpenFileNameW(&o)) return {};
  return std::filesystem::path(elegido.c_str());
}

void Form1::pon_texto(control c, const std::string& texto) {
  SetWindowTextW(hwnd(c), ancho(texto).c_str());
  UpdateWindow(hwnd(c));
}

void Form1::muestra(control c, bool visible) {
  ShowWindow(hwnd(c), visible ? SW_SHOWNA : SW_HIDE);
  // A hidden control leaves a hole in the window for the window to paint over.
  UpdateWindow(visible ? hwnd(c) : ventana_);
}

void Form1::habilita(control c, bool activo) {
  EnableWindow(hwnd(c), activo ? TRUE : FALSE);
  UpdateWindow(hwnd(c));
}

void Form1::abre_plano(const std::vector<std::filesystem::path>& bins) { plano_.abre(ventana_, bins); }

bool Form1::marcado(control c) const {
  return SendMessageW(hwnd(c), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1::marca(control c, bool marcado) {
  SendMessageW(hwnd(c), BM_SETCHECK, marcado ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form1::puntero_espera(bool activo) {
  espera_ = activo;
  // Set now: no WM_SETCURSOR is handled while the batch holds the thread.
  SetCursor(LoadCursorW(nullptr, activo ? IDC_WAIT : IDC_ARROW));
}

void Form1::avisa_error(const std::string& titulo, const std::string& texto) {
  MessageBoxW(ventana_, ancho(texto).c_str(), ancho(titulo).c_str(), MB_OK | MB_ICONERROR);
}

void Form1::acerca() {
  // The guide here is the README beside the program; Linux's window names its manual pages.
  const std::wstring texto =
      ancho(version_acerca() + "\n\n" + descripcion_acerca +
            "\n\nDesde la línea de órdenes: tolvar-cli.exe. Guía de uso: README.md, junto a "
            "tolvar.exe.");
  const std::wstring titulo = ancho(titulo_acerca);
  MSGBOXPARAMSW caja{};
  caja.cbSize = sizeof caja;
  caja.hwndOwner = ventana_;
  caja.hInstance = instancia_;
  caja.lpszText = texto.c_str();
  caja.lpszCaption = titulo.c_str();
  caja.dwStyle = MB_OK | MB_USERICON;
  caja.lpszIcon = MAKEINTRESOURCEW(TOLVAR_ICONO);
  MessageBoxIndirectW(&caja);
}

void Form1::termina(int estado) {
  estado_ = estado;
  // WM_DESTROY posts the quit message that carries estado_ out of the loop.
  if (ventana_ != nullptr) DestroyWindow(ventana_);
}

}  // namespace tolvar
