# Helpers shared by every subsystem's CMakeLists.

# halvo_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One GoogleTest executable; its cases are registered with CTest when ctest runs.
# The label "threads" puts a test into the ThreadSanitizer run of .ci/run.
# Programs that run engine code get the test rig (tests/support) and its main,
# which resets the engine around each test; the platform layers' programs
# (tests/winapi) and the layer check run no engine code and keep GoogleTest's.
function(halvo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "/tests/(winapi|layers)(/|$)")
    set(test_main GTest::gtest_main)
  else()
    set(test_main halvo_test_rig)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest ${test_main} Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    HALVO_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    HALVO_MODULE_DIR="${HALVO_MODULE_DIR}")
  if("threads" IN_LIST ARG_LABELS)
    set_property(GLOBAL APPEND PROPERTY HALVO_THREADED_TESTS ${name})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "HALVO_LIBRARY_PATH=${HALVO_MODULE_DIR}" LABELS "${ARG_LABELS}")
endfunction()

# halvo_add_module(<target> <file name> SOURCES <files...> LIBS <targets...>)
# A shared library built under the exact file name that the engine asks the
# kernel layer for ("prog.dll", "module-steam.dll", "d3dcompiler_47.dll").
function(halvo_add_module target file_name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  get_filename_component(stem ${file_name} NAME_WE)
  get_filename_component(ext ${file_name} EXT)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME ${stem} SUFFIX ${ext}
    LIBRARY_OUTPUT_DIRECTORY ${HALVO_MODULE_DIR})
endfunction()

# halvo_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
# A libFuzzer target named fuzz_<name>; its seed corpus is corpus/<name>/ beside
# the CMakeLists.txt that declares it, with a dictionary <name>.dict there when
# it has one, and .ci/run runs it there for a few seconds.
function(halvo_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(fuzz_${name} ${ARG_SOURCES})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
endfunction()

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

# halvo_export_headers(<target> <folder or header below src/>... [EXCEPT <names>...] [PRIVATE])
# The library's include folder: build/exports/<target>/, holding at each
# folder's path below src/ links to that folder's headers (not to its
# subfolders, which may be libraries of their own), less the EXCEPT names;
# a header named by its path is linked alone. "graphics/x.h" then resolves
# only for the library itself and the targets that link it, so an include of
# a library not declared as a dependency fails to compile. PRIVATE keeps the
# folder to the library and makes <target>_internals, which exports it to the
# targets that link that (the layers of src/winapi, whose own headers other
# code reaches only through the platform-named headers of winapi/include).
function(halvo_export_headers target)
  cmake_parse_arguments(ARG "PRIVATE" "" "EXCEPT" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/exports/${target})
  file(REMOVE_RECURSE ${root})
  foreach(entry ${ARG_UNPARSED_ARGUMENTS})
    if(entry MATCHES "\\.h$")
      get_filename_component(folder ${entry} DIRECTORY)
      set(headers ${PROJECT_SOURCE_DIR}/src/${entry})
    else()
      set(folder ${entry})
      file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
    endif()
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      if(NOT name IN_LIST ARG_EXCEPT)
        file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
      endif()
    endforeach()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  elseif(ARG_PRIVATE)
    target_include_directories(${target} PRIVATE ${root})
    add_library(${target}_internals INTERFACE)
    target_include_directories(${target}_internals INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# Fails the configuration when a target searches the whole source root for
# headers, which would let any library's headers through.
function(halvo_check_include_folders directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    foreach(property INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES)
      get_target_property(folders ${target} ${property})
      if(folders AND "${PROJECT_SOURCE_DIR}/src" IN_LIST folders)
        message(FATAL_ERROR "${target} searches all of src/ for headers: give it its own folder with "
          "halvo_export_headers and link the libraries it includes (cmake/HalvoTargets.cmake)")
      endif()
    endforeach()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory ${subdirectories})
    halvo_check_include_folders(${subdirectory})
  endforeach()
endfunction()
