# SPDX-License-Identifier: MIT
# Debian's hardening flags, as dpkg-buildflags gives them with hardening=+all: checked string and
# memory functions, stack protector, format checks, read-only relocations bound at start-up, and
# position-independent executables. Every build gets them but those with sanitizers, which bring
# checks of their own; the string checks need the optimiser, so a Debug build goes without them.
if(CMAKE_CXX_FLAGS MATCHES "sanitize" OR PELLIMO_BUILD_FUZZERS)
    return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security
                    "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>")
add_link_options(LINKER:-z,relro LINKER:-z,now)
