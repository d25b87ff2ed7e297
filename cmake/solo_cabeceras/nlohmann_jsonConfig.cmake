include(${CMAKE_CURRENT_LIST_DIR}/cabeceras_anfitrion.cmake)
tolvar_cabeceras_anfitrion(nlohmann_json::nlohmann_json nlohmann json.hpp)
