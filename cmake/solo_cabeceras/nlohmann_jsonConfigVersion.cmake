# The version of the host's headers, read from them, for find_package(nlohmann_json 3).
set(PACKAGE_VERSION_COMPATIBLE FALSE)
foreach(raiz /usr/include /usr/local/include)
  # 3.11 keeps the numbers in detail/abi_macros.hpp, earlier versions in json.hpp.
  foreach(fichero nlohmann/detail/abi_macros.hpp nlohmann/json.hpp)
    if(NOT PACKAGE_VERSION AND EXISTS ${raiz}/${fichero})
      file(STRINGS ${raiz}/${fichero} lineas
           REGEX "^#define NLOHMANN_JSON_VERSION_(MAJOR|MINOR|PATCH) +[0-9]+")
      if(lineas)
        foreach(parte MAJOR MINOR PATCH)
          string(REGEX REPLACE ".*NLOHMANN_JSON_VERSION_${parte} +([0-9]+).*" "\\1" v_${parte}
                 "${lineas}")
        endforeach()
        set(PACKAGE_VERSION ${v_MAJOR}.${v_MINOR}.${v_PATCH})
      endif()
    endif()
  endforeach()
endforeach()
if(PACKAGE_VERSION AND PACKAGE_VERSION VERSION_GREATER_EQUAL PACKAGE_FIND_VERSION AND
   v_MAJOR STREQUAL PACKAGE_FIND_VERSION_MAJOR)
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
  if(PACKAGE_VERSION VERSION_EQUAL PACKAGE_FIND_VERSION)
    set(PACKAGE_VERSION_EXACT TRUE)
  endif()
endif()
