# The protocol core must build without Qt. Core targets get no Qt include path, so an
# include of a Qt header already fails to compile; this check also names the offender
# at configure time.
function(tarvel_forbid_qt target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  file(GLOB headers "${source_dir}/*.h")
  foreach(file IN LISTS sources headers)
    if(NOT IS_ABSOLUTE "${file}")
      set(file "${source_dir}/${file}")
    endif()
    if(EXISTS "${file}")
      file(STRINGS "${file}" qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/)")
      if(qt_includes)
        message(FATAL_ERROR "${file} includes Qt, but ${target} is part of the Qt-free core: ${qt_includes}")
      endif()
    endif()
  endforeach()
endfunction()
