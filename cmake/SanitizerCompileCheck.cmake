# The sources whose compile-time checks (static_assert, consteval lookups) the sanitizers'
# instrumentation can break are compiled once more with each sanitizer's flags in the ordinary
# build, so a change that stops scripts/run-sanitizers from building fails every build.
set(TARVEL_SANITIZER_CHECKED_SOURCES
  src/document/config_file.cpp
  src/document/page_values.cpp
  src/document/vesk_doc_accessors.cpp
  src/modem/frame_assembler.cpp)

if(NOT TARVEL4410_SANITIZE AND NOT TARVEL4410_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  foreach(sanitizer IN ITEMS address,undefined thread)
    string(REPLACE "," "_" suffix ${sanitizer})
    set(target tarvel_sanitizer_compile_check_${suffix})
    list(TRANSFORM TARVEL_SANITIZER_CHECKED_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
    add_library(${target} OBJECT ${sources})
    # Only for the include paths and definitions; nothing links these objects.
    target_link_libraries(${target} PRIVATE tarvel_document tarvel_modem_core)
    target_compile_options(${target} PRIVATE -fsanitize=${sanitizer} -fno-sanitize-recover=all)
  endforeach()
endif()
