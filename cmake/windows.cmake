# The Windows build (preset "windows", cmake/mingw-w64.cmake): every program
# in bin/, with the DLLs it needs beside it, since there is no deployment tool
# here to gather them.

target_compile_definitions(zorvel_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
                           _WIN32_WINNT=0x0601)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(zorvel_runtime_files)
foreach(module Core Gui Widgets Network Test)
  get_target_property(dll Qt6::${module} IMPORTED_LOCATION_RELEASE)
  if(NOT dll)
    get_target_property(dll Qt6::${module} IMPORTED_LOCATION)
  endif()
  list(APPEND zorvel_runtime_files ${dll})
endforeach()
list(APPEND zorvel_runtime_files ${ZORVEL_MINGW_RUNTIME_DLLS})

set(zorvel_runtime_outputs)
foreach(file IN LISTS zorvel_runtime_files)
  get_filename_component(name ${file} NAME)
  list(APPEND zorvel_runtime_outputs ${CMAKE_BINARY_DIR}/bin/${name})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bin/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${CMAKE_BINARY_DIR}/bin/${name}
    DEPENDS ${file} VERBATIM)
endforeach()
# Qt looks for a plugin in a folder of its kind beside the program: the
# platform plugin in platforms/, the TLS backend (Windows' own Schannel, which
# chathost's IRC connections use) in tls/.
foreach(plugin platforms/qwindows.dll tls/qschannelbackend.dll)
  get_filename_component(folder ${plugin} DIRECTORY)
  list(APPEND zorvel_runtime_outputs ${CMAKE_BINARY_DIR}/bin/${plugin})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bin/${plugin}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/${folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZORVEL_QT_MINGW}/plugins/${plugin}
            ${CMAKE_BINARY_DIR}/bin/${plugin}
    DEPENDS ${ZORVEL_QT_MINGW}/plugins/${plugin} VERBATIM)
endforeach()
add_custom_target(windows_runtime ALL DEPENDS ${zorvel_runtime_outputs}
  COMMENT "Copying the Qt and MinGW runtime DLLs beside the programs")

# A path of this machine as a program under Wine names it: Wine shows the
# root folder as drive Z:.
function(zorvel_wine_path out path)
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
