# The warnings every target is built with (zorvel_options), per compiler; the
# build stays free of them. Left out on purpose:
#   -Wconversion, -Wsign-conversion  Qt's sizes are qsizetype, its indexes and
#                                    geometry int: thousands of casts, no fault
#   -Wuseless-cast                   fires on Qt's macros and moc's output
#   -Wmissing-declarations           the tests' file-local helpers: churn only
function(zorvel_warning_flags out)
  if(MSVC)
    # Not built here; what Microsoft's compiler would get.
    set(flags /W4 /permissive-)
  elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    # GCC, clang and MinGW's GCC (the windows preset) alike.
    set(flags
      -Wall -Wextra -Wpedantic
      -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Wcast-align -Wcast-qual
      -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough -Wundef)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      list(APPEND flags -Wduplicated-cond -Wduplicated-branches -Wlogical-op)
    endif()
  else()
    set(flags)
  endif()
  if(ZORVEL_WERROR)
    if(MSVC)
      list(APPEND flags /WX)
    else()
      list(APPEND flags -Werror)
    endif()
  endif()
  set(${out} ${flags} PARENT_SCOPE)
endfunction()
