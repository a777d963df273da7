# The layers of src/ as library targets, each with an include tree of its own.
#
# kestra_layer(<target> <folder> [RECURSE]) gives <target> an include folder in the build tree
# that holds only the headers of src/<folder>, under their rooted names ("<folder>/X.h"; with
# RECURSE also those of its sub-folders). A target therefore sees exactly the headers of the
# layers it links, and an include of a layer above it does not compile.
function(kestra_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "RECURSE" "" "")
  set(source ${PROJECT_SOURCE_DIR}/src/${folder})
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  if(ARG_RECURSE)
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${source} ${source}/*.h)
  else()
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${source} ${source}/*.h)
  endif()
  file(REMOVE_RECURSE ${root})
  foreach(header ${headers})
    get_filename_component(dir ${root}/${folder}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${source}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PRIVATE kestra_warnings)
  endif()
endfunction()

# A folder of the module (dialogs, verify, a flow, convert): a static library whose symbols
# stay hidden in the module's shared library, which exports only its entry points.
function(kestra_module_folder target folder)
  add_library(${target} STATIC ${ARGN})
  kestra_layer(${target} ${folder})
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# A shared library of the install tree's lib/ (the layers below the module).
function(kestra_shared_layer target folder)
  add_library(${target} SHARED ${ARGN})
  kestra_layer(${target} ${folder} RECURSE)
  install(TARGETS ${target} LIBRARY DESTINATION lib)
endfunction()
