# What keeps the build quick on a small machine: lld for the many links, and one precompiled
# header shared by the targets that parse the same heavy headers.

# lld links the test programs, with their Qt and debug information, several times faster than
# the default linker.
option(TARVEL4410_USE_LLD "Link with lld when it is installed" ON)
find_program(TARVEL_LLD NAMES ld.lld)
if(TARVEL4410_USE_LLD AND TARVEL_LLD)
  add_link_options(-fuse-ld=lld)
endif()

# Precompiles HEADERS once, in the first of TARGETS, and lets the others reuse it. The targets
# must be of one kind (all libraries or all executables) and get the same compile definitions
# from the libraries the headers come from, or the compiler would refuse the header (and
# -Winvalid-pch says so).
function(tarvel_share_pch)
  cmake_parse_arguments(ARG "" "" "TARGETS;HEADERS" ${ARGN})
  list(POP_FRONT ARG_TARGETS owner)
  target_precompile_headers(${owner} PRIVATE ${ARG_HEADERS})
  foreach(target IN LISTS ARG_TARGETS)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  endforeach()
endfunction()
