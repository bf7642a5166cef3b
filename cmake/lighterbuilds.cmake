# Lighter builds: ccache when it is installed, the Qt headers every library
# includes parsed once per build instead of once per file, and each layer
# library compiled in a few batches of its files instead of file by file.

# ccache through cmake/ccache-launcher.sh, which sets what the precompiled
# headers need; a launcher given at configure time is kept as it is.
option(ZORVEL_CCACHE "Compile through ccache when it is installed" ON)
if(ZORVEL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(ZORVEL_CCACHE_PROGRAM ccache)
  if(ZORVEL_CCACHE_PROGRAM)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/ccache-launcher.sh)
  endif()
endif()

option(ZORVEL_PCH "Precompile the Qt headers the libraries and tests share" ON)
# A batch pays for the precompiled header, Qt's templates and the optimiser's
# start once for up to 16 files: the programs build in about half the time on
# two cores. A change to one file recompiles its batch; configure with
# -DZORVEL_UNITY=OFF to work file by file (and for a compile_commands.json
# that names each file). Files of one library share a batch, so names in
# their unnamed namespaces must differ.
# Not for Windows: its release build (-O3) inlines across a batch's files,
# where GCC's null-dereference warning then sees paths it cannot rule out.
if(WIN32)
  set(zorvel_unity_default OFF)
else()
  set(zorvel_unity_default ON)
endif()
option(ZORVEL_UNITY "Compile each layer library in batches of its files" ${zorvel_unity_default})
# Every target is compiled alike (Qt asks for -fPIC everywhere), so one
# precompiled header serves them all. A compiled-in timestamp would defeat
# ccache.
set(zorvel_pch_headers
  <QByteArray> <QHash> <QList> <QObject> <QPointer> <QString> <QStringList> <QTimer>
  <QCoreApplication> <QDir> <QElapsedTimer> <QFile> <QFileInfo>
  <QApplication> <QWidget>)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  target_compile_options(zorvel_options INTERFACE -Xclang -fno-pch-timestamp)
endif()

# Whether the target links Qt, itself or through the libraries it links.
function(zorvel_links_qt target out)
  set(seen)
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue item)
    if(item IN_LIST seen OR NOT TARGET ${item})
      continue()
    endif()
    list(APPEND seen ${item})
    if(item MATCHES "^Qt6::")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    get_target_property(type ${item} TYPE)
    set(links)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${item} LINK_LIBRARIES)
    endif()
    get_target_property(interface ${item} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interface)
      if(link AND NOT link MATCHES "[$<>]")
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# The layer libraries (not the tests' or benchmarks' own) go in batches.
function(zorvel_unity_batches target)
  get_target_property(type ${target} TYPE)
  get_target_property(dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH dir ${PROJECT_SOURCE_DIR} ${dir})
  if(ZORVEL_UNITY AND type STREQUAL "STATIC_LIBRARY" AND NOT dir MATCHES "^(tests|bench)(/|$)")
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)
  endif()
endfunction()

# Every target of ours (it links zorvel_options): the layer libraries in
# batches, and every one that links Qt reuses the header of zorvel_pch.
function(zorvel_lighter_builds)
  if(NOT ZORVEL_UNITY)
    message(STATUS "unity batches: off (ZORVEL_UNITY=OFF)")
  endif()
  if(NOT ZORVEL_PCH)
    message(STATUS "precompiled headers: off (ZORVEL_PCH=OFF)")
  else()
    zorvel_make_pch()
  endif()
  set(dirs ${PROJECT_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      get_target_property(links ${target} LINK_LIBRARIES)
      if(NOT type MATCHES "^(STATIC_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$"
         OR NOT "zorvel_options" IN_LIST links OR target STREQUAL "zorvel_pch")
        continue()
      endif()
      zorvel_unity_batches(${target})
      if(ZORVEL_PCH)
        zorvel_reuse_pch(${target})
      endif()
    endforeach()
  endwhile()
endfunction()

function(zorvel_make_pch)
  add_library(zorvel_pch STATIC ${PROJECT_SOURCE_DIR}/cmake/pchmain.cpp)
  set_target_properties(zorvel_pch PROPERTIES AUTOMOC OFF)
  # Qt Core's definitions only: GCC refuses a header made with a definition
  # the compile lacks (QT_WIDGETS_LIB where only Core is linked); the headers
  # themselves never look at those.
  target_link_libraries(zorvel_pch PRIVATE Qt6::Core zorvel_options)
  target_include_directories(zorvel_pch PRIVATE
    $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
  target_precompile_headers(zorvel_pch PRIVATE ${zorvel_pch_headers})
endfunction()

function(zorvel_reuse_pch target)
  get_target_property(type ${target} TYPE)
  # MinGW's executables get QT_NEEDS_QMAIN from Qt's entry point, and GCC
  # refuses a header made without it; they are thin there, so they go without.
  if(WIN32 AND type STREQUAL "EXECUTABLE")
    return()
  endif()
  zorvel_links_qt(${target} qt)
  if(qt)
    target_precompile_headers(${target} REUSE_FROM zorvel_pch)
  endif()
endfunction()
