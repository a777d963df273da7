# The layers of src/ as library targets, each with an include tree of its own.
#
# kestra_layer(<target> <folder> [RECURSE] [ROOT <name>]) gives <target> an include folder in
# the build tree (layers/<name>, by default layers/<target>) that holds only the headers of
# src/<folder>, under their rooted names ("<folder>/X.h"; with RECURSE also those of its
# sub-folders). A target therefore sees exactly the headers of the
# layers it links, and an include of a layer above it does not compile.
function(kestra_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "RECURSE" "ROOT" "")
  if(NOT ARG_ROOT)
    set(ARG_ROOT ${target})
  endif()
  set(source ${PROJECT_SOURCE_DIR}/src/${folder})
  set(root ${PROJECT_BINARY_DIR}/layers/${ARG_ROOT})
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
  target_link_libraries(${target} PRIVATE Qt6::Widgets)
endfunction()

# A shared library of the install tree's lib/ (the layers below the module).
function(kestra_shared_layer target folder)
  add_library(${target} SHARED ${ARGN})
  kestra_layer(${target} ${folder} RECURSE)
  install(TARGETS ${target} LIBRARY DESTINATION lib)
endfunction()

# A standard-C++ layer at the bottom (base, project files, library format, the part model): its
# sources are compiled once, position-independent, and linked two ways, as the shared library
# of lib/ that the module and the tests load, and as a static archive for the programs that
# start on their own and the headless library (kestra_lean_program). <target> is what other
# targets link: the archive in such a program, the shared library everywhere else.
#   <target>_objects   the objects, with the layer's include tree and the layer's own links
#   <target>_shared    lib/lib<target>.so
#   <target>_static    lib/static/lib<target>.a
function(kestra_base_layer target folder)
  add_library(${target}_objects OBJECT ${ARGN})
  kestra_layer(${target}_objects ${folder} RECURSE ROOT ${target})
  foreach(kind shared static)
    string(TOUPPER ${kind} type)
    add_library(${target}_${kind} ${type})
    target_link_libraries(${target}_${kind} PUBLIC ${target}_objects)
    set_target_properties(${target}_${kind} PROPERTIES OUTPUT_NAME ${target})
  endforeach()
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE
    $<IF:$<BOOL:$<TARGET_PROPERTY:KESTRA_LEAN>>,${target}_static,${target}_shared>)
  install(TARGETS ${target}_shared LIBRARY DESTINATION lib)
endfunction()

# A program that starts on its own and is started often (kestra, tak), or the library that
# such a program loads for most of its commands (kestraheadless): the layers of
# kestra_base_layer and the C++ runtime are linked in statically, so that a start maps and
# relocates the C library and the program alone. Nothing of those archives is exported
# (--exclude-libs): a module the program loads binds to its own shared copies, and a process
# never mixes the program's globals with the module's. Sanitizer builds keep the shared
# libraries (the sanitizers' runtime would see the layers' globals twice).
function(kestra_lean_program target)
  if(KESTRA_SANITIZE)
    return()
  endif()
  # Its shared libraries are the system's alone: without a run path the loader looks for them
  # only where the system keeps them, instead of trying some twenty sub-folders of lib/ (and
  # reading /proc/self/exe for $ORIGIN) on every start. The host finds its module by its full
  # path (src/host/ModuleLibrary.cpp), which the module's own run path serves from there.
  set_target_properties(${target} PROPERTIES KESTRA_LEAN ON INSTALL_RPATH "" BUILD_RPATH "")
  # The relocations of its own pointers packed (DT_RELR): some 3,500 of them take a page of
  # the file instead of some twenty, each read in at every start.
  target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc
                      LINKER:--exclude-libs,ALL LINKER:-z,pack-relative-relocs)
endfunction()
