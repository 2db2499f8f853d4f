# Every target links nodra_common: one place for the language level, warnings and the character set.
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
