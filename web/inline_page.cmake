# Writes the one-file page: the engine's script (its WebAssembly inlined) within the page.
file(READ "${PAGE}" page)
file(READ "${ENGINE}" engine)
string(FIND "${engine}" "</script" closing)
if(NOT closing EQUAL -1)
  message(FATAL_ERROR "the engine's script holds </script and cannot be inlined")
endif()
string(REPLACE "@LOTO_ENGINE@" "${engine}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
