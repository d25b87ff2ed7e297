// tolvar.exe: the converter's window on the Win32 API. Closing the window ends the program; a
// failed conversion ends it with the error's number as its status, once its message box is
// closed.
#include <windows.h>

#include <commctrl.h>

#include "win32/form1.h"

int WINAPI wWinMain(HINSTANCE instancia, HINSTANCE, PWSTR, int como_se_muestra) {
  // Drawn at the screen's own resolution, the layout scaled by it, rather than drawn at 96
  // pixels per inch and stretched into a blur by the system.
  SetProcessDPIAware();
  // The tooltips of Check1 and Check3; the map preview's panel and status bar.
  INITCOMMONCONTROLSEX comunes{sizeof comunes, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&comunes);
  tolvar::Form1 ventana(instancia);
  return ventana.ejecuta(como_se_muestra);
}
