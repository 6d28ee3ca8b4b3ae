# The tools that run at build time: program_data_builder (cmake/program_data.cmake) and gbk_texts
# (velmora_gbk_texts below). A native build builds them as its own targets; a cross build builds
# them for the host through tools/host.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_tools ${CMAKE_BINARY_DIR}/host-tools)
  set(program_data_builder ${host_tools}/tools/program_data_builder)
  set(gbk_texts ${host_tools}/tools/gbk_texts)
  ExternalProject_Add(velmora_host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/host
    BINARY_DIR ${host_tools}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=RelWithDebInfo
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${program_data_builder} ${gbk_texts}
  )
  # The host build runs every time; naming the tools as files too makes what they write be
  # written again when a tool changes (and only then).
  set(program_data_builder_depends velmora_host_tools ${program_data_builder})
  set(gbk_texts_depends velmora_host_tools ${gbk_texts})
else()
  set(program_data_builder $<TARGET_FILE:program_data_builder>)
  set(program_data_builder_depends program_data_builder)
  set(gbk_texts $<TARGET_FILE:gbk_texts>)
  set(gbk_texts_depends gbk_texts)
endif()

# velmora_gbk_texts(target SOURCE file.txt HEADER path/name.h NAMESPACE ns): the header of GBK
# text constants made from a UTF-8 texts file at build time, included as "path/name.h" by the
# targets that link `target`. A text that GBK cannot encode fails the build, naming the text.
function(velmora_gbk_texts target)
  cmake_parse_arguments(TEXTS "" "SOURCE;HEADER;NAMESPACE" "" ${ARGN})
  set(root ${CMAKE_CURRENT_BINARY_DIR}/${target})
  set(header ${root}/${TEXTS_HEADER})
  add_custom_command(
    OUTPUT ${header}
    COMMAND ${gbk_texts} --source ${TEXTS_SOURCE} --namespace ${TEXTS_NAMESPACE} --out ${header}
    DEPENDS ${gbk_texts_depends} ${TEXTS_SOURCE}
    COMMENT "Writing ${TEXTS_HEADER} from ${TEXTS_SOURCE}"
  )
  add_custom_target(${target}_header DEPENDS ${header})
  # A header-only target: what links it builds after the header is written.
  add_library(${target} INTERFACE)
  target_include_directories(${target} INTERFACE ${root})
  add_dependencies(${target} ${target}_header)
endfunction()
