# One compile policy that every target links: the standard, the warnings, the sanitizers and the hardening.
add_library(scorvane_policy INTERFACE)
target_compile_features(scorvane_policy INTERFACE cxx_std_20)
target_compile_options(scorvane_policy INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Wshadow -Wconversion -Wno-sign-conversion)
target_compile_definitions(scorvane_policy INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS QT_STRICT_ITERATORS QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
if(SCORVANE_WERROR)
  target_compile_options(scorvane_policy INTERFACE -Werror)
endif()
if(SCORVANE_SANITIZE)
  target_compile_options(scorvane_policy INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(scorvane_policy INTERFACE -fsanitize=address,undefined)
endif()

# Debian's hardening flags: every executable is position-independent, and the optimised builds that
# are shipped get fortified libc calls (which need the optimiser), stack protectors and read-only
# relocations bound at start. tools/check-hardening reads them back from the built program.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
set(SCORVANE_SHIPPED_BUILD "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
target_compile_options(scorvane_policy INTERFACE
  "$<${SCORVANE_SHIPPED_BUILD}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>")
target_link_options(scorvane_policy INTERFACE "$<${SCORVANE_SHIPPED_BUILD}:LINKER:-z,relro,-z,now>")
