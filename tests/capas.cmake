cmake_minimum_required(VERSION 3.22)

# Every #include of src/ points down the design: the windows (ui with Qt, win32) and cli on top;
# ventana, what the two windows share, under them (its map preview reads .bin files with
# inspeccion's reader and knows the code of unclassified layers); inspeccion, dxf, codes and
# output in the middle; core at the bottom, including nothing of the others.
#   cmake -DFUENTES=<the src folder> -P capas.cmake
# What each folder may include: itself and what lies below it (tolvar/version.h is generated
# from core/). Of the middle, only inspeccion reads another: the record sizes of output/.
set(alcance_core core)
set(alcance_dxf core dxf)
set(alcance_codes core codes)
set(alcance_output core output)
set(alcance_inspeccion core output inspeccion)
set(medio dxf codes output inspeccion)
set(alcance_cli core ${medio} cli tolvar)
set(alcance_ventana core codes output inspeccion ventana tolvar)
set(alcance_ui core ${medio} ventana ui tolvar)
set(alcance_win32 core ventana win32 tolvar)

file(GLOB_RECURSE ficheros RELATIVE ${FUENTES} ${FUENTES}/*.h ${FUENTES}/*.cpp ${FUENTES}/*.inc)
set(fallos "")
foreach(fichero IN LISTS ficheros)
  string(REGEX MATCH "^[^/]+" carpeta "${fichero}")
  if(NOT DEFINED alcance_${carpeta})
    string(APPEND fallos "\n  ${fichero}: src/${carpeta} has no place among the layers")
    continue()
  endif()
  file(STRINGS ${FUENTES}/${fichero} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(linea IN LISTS includes)
    string(REGEX MATCH "\"[^\"]*\"" incluido "${linea}")
    string(REGEX MATCH "^\"[^/\"]+/" destino "${incluido}")
    string(REGEX REPLACE "[\"/]" "" destino "${destino}")
    if(destino STREQUAL "")
      set(destino ${carpeta})  # beside it
    endif()
    if(NOT destino IN_LIST alcance_${carpeta})
      string(APPEND fallos "\n  ${fichero}: ${incluido} is not below src/${carpeta}")
    endif()
  endforeach()
endforeach()
if(fallos)
  message(FATAL_ERROR "includes against the layers:${fallos}")
endif()
