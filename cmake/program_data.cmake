# The program data, made at build time from forms/data by the builder and embedded through a
# generated source: target velmora_program_data, header "program_data_generated.h". The
# builder also writes program_data.bin for program_data_dump, and "window_units_generated.h",
# the ids of the windows and units the client's handlers name (app/window_units.h).
set(VELMORA_SERVICE_HOST "127.0.0.1:8765" CACHE STRING
    "Host (and port) of the service the client talks to; default: the demo service on loopback")
set(VELMORA_SERVICE_SCHEME "http" CACHE STRING
    "How the client reaches the service: http (the demo service on loopback) or https")
set_property(CACHE VELMORA_SERVICE_SCHEME PROPERTY STRINGS http https)

# velmora_program_data(target WINDOWS dir CONSTANTS file [SCHEME scheme] [HOST host]): a library
# embedding the program data built from those sources, for the service scheme and host given
# (default VELMORA_SERVICE_SCHEME and VELMORA_SERVICE_HOST).
function(velmora_program_data target)
  cmake_parse_arguments(DATA "" "WINDOWS;CONSTANTS;SCHEME;HOST" "" ${ARGN})
  if(NOT DATA_SCHEME)
    set(DATA_SCHEME ${VELMORA_SERVICE_SCHEME})
  endif()
  if(NOT DATA_HOST)
    set(DATA_HOST ${VELMORA_SERVICE_HOST})
  endif()
  # The HTTP read takes any scheme the platform knows; the client speaks to a service in these.
  if(NOT DATA_SCHEME MATCHES "^https?$")
    message(FATAL_ERROR "service scheme '${DATA_SCHEME}' of ${target}: http or https")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target})
  file(GLOB sources CONFIGURE_DEPENDS ${DATA_WINDOWS}/*.win ${DATA_WINDOWS}/pictures/*)
  add_custom_command(
    OUTPUT ${out}/program_data_generated.h ${out}/program_data_generated.cpp
           ${out}/program_data.bin ${out}/window_units_generated.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${program_data_builder}
            --windows ${DATA_WINDOWS} --constants ${DATA_CONSTANTS}
            --define VELMORA_SERVICE_SCHEME=${DATA_SCHEME}
            --define VELMORA_SERVICE_HOST=${DATA_HOST}
            --out-header ${out}/program_data_generated.h
            --out-source ${out}/program_data_generated.cpp
            --out-binary ${out}/program_data.bin
            --out-units ${out}/window_units_generated.h
    DEPENDS ${program_data_builder_depends} ${sources} ${DATA_CONSTANTS}
    COMMENT "Building the program data of ${target}"
  )
  add_library(${target} STATIC ${out}/program_data_generated.cpp)
  velmora_target(${target})
  target_include_directories(${target} PUBLIC ${out})
endfunction()
