# Boost.Math, for the statistics, and nlohmann-json, for the machine formats: header only.
# Emscripten's sysroot holds neither: the page's build takes Debian's headers through a folder of
# each's own, not the whole of /usr/include.
add_library(loto_boost_math INTERFACE)
add_library(loto_json_headers INTERFACE)
if(EMSCRIPTEN)
  foreach(headers boost nlohmann)
    set(root ${PROJECT_BINARY_DIR}/include/system_${headers})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK /usr/include/${headers} ${root}/${headers} SYMBOLIC)
  endforeach()
  target_include_directories(loto_boost_math SYSTEM INTERFACE
                             ${PROJECT_BINARY_DIR}/include/system_boost)
  target_include_directories(loto_json_headers SYSTEM INTERFACE
                             ${PROJECT_BINARY_DIR}/include/system_nlohmann)
else()
  find_package(Boost REQUIRED)
  target_link_libraries(loto_boost_math INTERFACE Boost::headers)
  find_package(nlohmann_json REQUIRED)
  target_link_libraries(loto_json_headers INTERFACE nlohmann_json::nlohmann_json)
endif()
