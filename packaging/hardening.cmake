# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening of every program the suite builds, as Debian builds its own packages: stack
# protector, fortified C library calls, position-independent executables and a read-only
# relocation table bound at start-up. Included from the top folder before any target exists, so
# the static libraries the programs link are hardened too.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong)
add_link_options(-Wl,-z,relro -Wl,-z,now)

# The fortified calls need an optimising build, and the sanitizers bring checks of their own.
# A -D_FORTIFY_SOURCE the compiler or CXXFLAGS may already carry is replaced, not redefined
# (a redefinition is a warning, and warnings are errors here).
if(NOT STATION_SANITIZE)
  set(STATION_OPTIMISED_CONFIGS "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  add_compile_options("$<${STATION_OPTIMISED_CONFIGS}:-U_FORTIFY_SOURCE>"
                      "$<${STATION_OPTIMISED_CONFIGS}:-D_FORTIFY_SOURCE=2>")
endif()
