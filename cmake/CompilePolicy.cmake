# One compile policy that every target links: the standard, the warnings and the sanitizers.
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
