# Helpers shared by every subsystem's CMakeLists.

# halvo_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One GoogleTest executable; its cases are registered with CTest when ctest runs.
# The label "threads" puts a test into the ThreadSanitizer run of .ci/run.
function(halvo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
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
