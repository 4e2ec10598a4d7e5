# Size of the Windows programs, which ship as single static .exe files: the
# compiler optimises for size (the decoder's time goes to reading files).
# --gc-sections is left out: it saves 1% and, with MinGW's ld, dropped the
# main() that GoogleTest's library brings. docs/windows-builds.md has the
# figures.
add_compile_options($<$<CONFIG:Release>:-Os>)

# vexa_terminate_silently(target): for a window program, which has no console
# to print on, an uncaught exception ends it at once (abort, as before) instead
# of through libstdc++'s verbose handler, which links the demangler (45 KB).
function(vexa_terminate_silently target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix "_")  # i686 symbols carry a leading underscore
  else()
    set(prefix "")
  endif()
  target_link_options(${target} PRIVATE
                      "LINKER:--defsym,${prefix}_ZN9__gnu_cxx27__verbose_terminate_handlerEv=${prefix}abort")
endfunction()
