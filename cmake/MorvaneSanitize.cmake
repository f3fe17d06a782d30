# Sanitized copies of the project's libraries, for the tests and the fuzz
# targets' replays that run under AddressSanitizer, UBSan or
# ThreadSanitizer beside the normal build.
#
#   morvane_sanitized_copy(<name> SANITIZE <sanitizers> FROM <target>...
#                          [SOURCES <file>...] [STANDS_FOR <target>...])
#
# adds <name>, a static library left out of `all`, compiled from the sources
# of the FROM targets (only the SOURCES named, when given, as written in the
# targets' own lists) with their include folders, definitions and options,
# and with -fsanitize=<sanitizers> (e.g. address,undefined or thread), which
# everything that links it gets too. It links what the FROM targets link,
# but a library that already has a copy with the same sanitizers is replaced
# by that copy, so a copy of the solver made after a copy of the game links
# the sanitized game. STANDS_FOR names more targets that the new copy
# replaces from then on (a target made of the FROM targets, for example).
#
# The normal build's -Werror and warnings apply to the copies as well.

function(morvane_sanitized_copy name)
  cmake_parse_arguments(PARSE_ARGV 1 COPY "" "SANITIZE" "FROM;SOURCES;STANDS_FOR")
  if(NOT COPY_SANITIZE OR NOT COPY_FROM)
    message(FATAL_ERROR "morvane_sanitized_copy(${name}): SANITIZE and FROM are needed")
  endif()
  string(MAKE_C_IDENTIFIER "${COPY_SANITIZE}" kind)
  set(flags -fsanitize=${COPY_SANITIZE} -fno-omit-frame-pointer)
  if(COPY_SANITIZE MATCHES "undefined")
    list(APPEND flags -fno-sanitize-recover=all)
  endif()

  set(sources)
  set(links)
  foreach(target IN LISTS COPY_FROM)
    get_target_property(dir ${target} SOURCE_DIR)
    get_target_property(own ${target} SOURCES)
    foreach(source IN LISTS own)
      if(COPY_SOURCES AND NOT source IN_LIST COPY_SOURCES)
        continue()
      endif()
      if(NOT source MATCHES "^\\$<" AND NOT IS_ABSOLUTE ${source})
        set(source ${dir}/${source})
      endif()
      list(APPEND sources ${source})
    endforeach()
    get_target_property(linked ${target} LINK_LIBRARIES)
    if(linked)
      list(APPEND links ${linked})
    endif()
  endforeach()
  if(NOT sources)
    message(FATAL_ERROR "morvane_sanitized_copy(${name}): no sources in ${COPY_FROM}")
  endif()

  add_library(${name} STATIC EXCLUDE_FROM_ALL ${sources})
  foreach(target IN LISTS COPY_FROM)
    target_include_directories(${name}
      PRIVATE $<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>
      PUBLIC $<TARGET_PROPERTY:${target},INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_definitions(${name}
      PRIVATE $<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>
      PUBLIC $<TARGET_PROPERTY:${target},INTERFACE_COMPILE_DEFINITIONS>)
    target_compile_options(${name} PRIVATE $<TARGET_PROPERTY:${target},COMPILE_OPTIONS>)
    get_target_property(automoc ${target} AUTOMOC)
    if(automoc)
      set_target_properties(${name} PROPERTIES AUTOMOC ON)
    endif()
  endforeach()
  target_compile_options(${name} PUBLIC ${flags})
  target_link_options(${name} PUBLIC ${flags})

  # What the originals link, with the libraries copied alike swapped for
  # their copies and the originals themselves left out.
  foreach(link IN LISTS links)
    if(link IN_LIST COPY_FROM)
      continue()
    endif()
    get_property(copy GLOBAL PROPERTY MORVANE_SANITIZED_${kind}_${link})
    if(copy)
      set(link ${copy})
    endif()
    target_link_libraries(${name} PUBLIC ${link})
  endforeach()
  foreach(original IN LISTS COPY_FROM COPY_STANDS_FOR)
    set_property(GLOBAL PROPERTY MORVANE_SANITIZED_${kind}_${original} ${name})
  endforeach()
endfunction()
