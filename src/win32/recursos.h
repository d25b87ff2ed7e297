#pragma once

// The ids of tolvar.exe's resources, shared by tolvar.rc.in and the code that loads them.
#define TOLVAR_ICONO 1
