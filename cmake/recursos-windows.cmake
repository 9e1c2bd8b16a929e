# The resources of a Windows program: icon, version and manifest.
function(rotulos_recursos_windows alvo descricao)
  set(DESCRICAO "${descricao}")
  set(ARQUIVO "${alvo}.exe")
  set(INTERNO "${alvo}")
  configure_file(${CMAKE_SOURCE_DIR}/app/imprime-rotulos.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${alvo}.rc @ONLY)
  target_sources(${alvo} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${alvo}.rc)
endfunction()

