# Size of the Windows programs, which ship as single static .exe files: the
# compiler optimises for size (the decoder's time goes to reading files).
# docs/windows-builds.md has the figures.
add_compile_options($<$<CONFIG:Release>:-Os>)

# i686 symbols carry a leading underscore.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VEXA_SYMBOL_PREFIX "_")
else()
  set(VEXA_SYMBOL_PREFIX "")
endif()

# vexa_drop_unused_sections(target...): for the two programs only; it drops
# no code here, only data nothing refers to (each object's compiler
# version string). Test programs go without: there it dropped the main()
# that GoogleTest's library brings.
function(vexa_drop_unused_sections)
  foreach(target IN LISTS ARGN)
    target_link_options(${target} PRIVATE "LINKER:--gc-sections")
  endforeach()
endfunction()

# vexa_terminate_silently(target): for a window program, which has no console
# to print on, an uncaught exception ends it at once (abort, as before) instead
# of through libstdc++'s verbose handler, which links the demangler (45 KB).
function(vexa_terminate_silently target)
  set(p "${VEXA_SYMBOL_PREFIX}")
  target_link_options(${target} PRIVATE
                      "LINKER:--defsym,${p}_ZN9__gnu_cxx27__verbose_terminate_handlerEv=${p}abort")
endfunction()

# vexa_uncaught_errors_terminate(target): for the 32-bit window program,
# which catches no exception but std::bad_alloc. The object that holds
# libstdc++'s throw helpers brings every standard exception class and the old
# std::string they carry (55 KB). Instead the helpers for logic_error,
# length_error and out_of_range call std::terminate, which is what throwing
# them came to (the program's terminate handler; a 32-bit exception cannot
# pass Windows' own frames to reach a loop that might catch it), and those
# for bad_alloc throw the runtime's std::bad_array_new_length, which every
# catch of std::bad_alloc still takes. Should anything else need the
# object, its own definitions win and only the size comes back. Not for
# 64-bit: its exceptions do pass Windows' frames.
function(vexa_uncaught_errors_terminate target)
  set(p "${VEXA_SYMBOL_PREFIX}")
  set(terminate "${p}_ZSt9terminatev")
  set(bad_alloc "${p}__cxa_throw_bad_array_new_length")
  target_link_options(${target} PRIVATE
                      "LINKER:--defsym,${p}_ZSt19__throw_logic_errorPKc=${terminate}"
                      "LINKER:--defsym,${p}_ZSt20__throw_length_errorPKc=${terminate}"
                      "LINKER:--defsym,${p}_ZSt24__throw_out_of_range_fmtPKcz=${terminate}"
                      "LINKER:--defsym,${p}_ZSt17__throw_bad_allocv=${bad_alloc}"
                      "LINKER:--defsym,${p}_ZSt28__throw_bad_array_new_lengthv=${bad_alloc}")
endfunction()
