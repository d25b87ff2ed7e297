include(${CMAKE_CURRENT_LIST_DIR}/cabeceras_anfitrion.cmake)
tolvar_cabeceras_anfitrion(CLI11::CLI11 CLI CLI.hpp)
