# tolvar_cabeceras_anfitrion(TARGET CARPETA CABECERA): TARGET, an interface target whose only
# include directory holds a copy of the host's CARPETA (the folder that has CABECERA), so that a
# cross build sees those headers and none of the host's system headers beside them.
function(tolvar_cabeceras_anfitrion objetivo carpeta cabecera)
  if(TARGET ${objetivo})
    return()
  endif()
  find_path(TOLVAR_RAIZ_${carpeta} ${carpeta}/${cabecera} PATHS /usr/include /usr/local/include
            NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(NOT TOLVAR_RAIZ_${carpeta})
    message(FATAL_ERROR "${carpeta}/${cabecera} not found on the host")
  endif()
  set(destino ${CMAKE_BINARY_DIR}/cabeceras_anfitrion)
  file(COPY ${TOLVAR_RAIZ_${carpeta}}/${carpeta} DESTINATION ${destino})
  add_library(${objetivo} INTERFACE IMPORTED)
  set_target_properties(${objetivo} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${destino}
                                               INTERFACE_COMPILE_FEATURES cxx_std_11)
endfunction()
