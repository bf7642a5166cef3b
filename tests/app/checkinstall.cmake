# Installs the build into a fresh prefix and checks that a Linux desktop finds
# the programs, the desktop entry and its icon there.
# cmake -DBUILD=<build dir> -DPREFIX=<empty dir> -P checkinstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(f bin/zorvel bin/chathost share/applications/example.zorvel.zorvel.desktop
          share/icons/hicolor/scalable/apps/zorvel.svg)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/example.zorvel.zorvel.desktop" entry)
foreach(line "Type=Application" "Exec=zorvel" "Icon=zorvel")
  list(FIND entry "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry lacks ${line}")
  endif()
endforeach()
