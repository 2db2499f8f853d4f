# Every target links nodra_common: one place for the language level, warnings, the character set and the
# hardening flags.
add_library(nodra_common INTERFACE)
target_compile_features(nodra_common INTERFACE cxx_std_20)
target_compile_options(nodra_common INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  # The program's texts and files are Windows-1250: narrow literals are compiled into that code page.
  -fexec-charset=CP1250)
if(NODRA_WERROR)
  target_compile_options(nodra_common INTERFACE -Werror)
endif()
target_include_directories(nodra_common INTERFACE ${PROJECT_SOURCE_DIR}/src)

# Debian's hardening flags (what dpkg-buildflags gives with hardening=+all). Fortified calls need an
# optimised build, so a Debug build goes without them. The sanitizer presets switch all of this off: a
# fortified call checks the bounds itself and so hides the access from AddressSanitizer.
option(NODRA_HARDENING "Build with Debian's hardening flags" ON)
if(NODRA_HARDENING)
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  # Executables as PIE (-fPIE, and -pie at the link), everything else as PIC.
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  # -U first: a compiler that already defines it at another level would make -D a redefinition warning.
  target_compile_options(nodra_common INTERFACE -fstack-protector-strong
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  target_link_options(nodra_common INTERFACE "LINKER:-z,relro,-z,now")
endif()
