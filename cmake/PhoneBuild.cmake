# Build helpers shared by every folder of the project.

# The SDK headers: the only include path the system's own code gets.
add_library(platform_sdk INTERFACE)
target_include_directories(platform_sdk INTERFACE ${PROJECT_SOURCE_DIR}/platform/include)

# Host-side controls of the emulated device (device folder, fault injection,
# UTF-8 edges). For the platform, the emulator and the tests only.
add_library(platform_host INTERFACE)
target_include_directories(platform_host INTERFACE ${PROJECT_SOURCE_DIR}/platform/host)

# Headers shared by the platform's libraries among themselves.
add_library(platform_internal INTERFACE)
target_include_directories(platform_internal INTERFACE ${PROJECT_SOURCE_DIR}/platform/internal)

# A platform library, built as the phone ships it: a module of its own
# (coredll.so for "coredll.dll") that programs and modules link against.
# Once in the process it stays, as the phone's system libraries do: the
# window classes, threads and callbacks it registered for a program that
# has ended still point into it.
function(phone_platform_library name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_link_options(${name} PRIVATE -Wl,-z,nodelete)
  target_link_libraries(${name} PUBLIC platform_sdk PRIVATE platform_host platform_internal)
endfunction()

# A module of the system (an in-process server or a program). Everything is
# hidden but the names listed in EXPORTS, as a .def file would do.
function(phone_system_module name)
  cmake_parse_arguments(M "" "" "SOURCES;EXPORTS;LIBS" ${ARGN})
  add_library(${name} SHARED ${M_SOURCES})
  # The version script alone decides what is exported, as a .def file would:
  # the sources need no export annotations.
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${name}.exports.map)
  list(JOIN M_EXPORTS "; " names)
  file(WRITE ${map} "{ global: ${names}; local: *; };\n")
  target_link_options(${name} PRIVATE -Wl,--version-script=${map} -Wl,--no-undefined)
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${map})
  target_link_libraries(${name} PRIVATE ${M_LIBS})
endfunction()

# A GoogleTest executable. Each test runs in a process of its own, since
# the platform keeps process-wide state (one window system per process).
function(phone_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} testsupport GTest::gtest GTest::gtest_main)
  # The tests' own code is not what they measure: compiled unoptimised with
  # line tables only, it builds in half the time.
  target_compile_options(${name} PRIVATE -O0 -g1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  # The discovery script writes property values unquoted, so a test gets one
  # label: "threads" for the tests that ThreadSanitizer runs, else the first.
  # The sanitizers leave alone what the font libraries keep and share.
  set(label "")
  if(T_LABELS)
    list(GET T_LABELS 0 label)
    if("threads" IN_LIST T_LABELS)
      set(label threads)
    endif()
  endif()
  # (One variable only: the discovery script cannot pass a list through.)
  if(PHONE_TSAN)
    set(sanitizer_env "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tools/tsan.supp")
  else()
    set(sanitizer_env "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tools/lsan.supp")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${sanitizer_env}"
    TIMEOUT ${T_TIMEOUT} LABELS ${label})
endfunction()

# A Google Benchmark executable (not run by the test command).
function(phone_benchmark name)
  if(NOT PHONE_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} testsupport benchmark::benchmark)
endfunction()

# A module's resources: file.rc (UTF-8) compiled by the resource compiler
# into the binary .res format and embedded into target, where the
# platform's FindResourceW finds them. DEPENDS lists the headers the .rc
# includes (resource.h), so that a change recompiles it.
find_program(PHONE_WINDRES x86_64-w64-mingw32-windres REQUIRED)
find_program(PHONE_XXD xxd REQUIRED)
function(phone_resources target rc)
  cmake_parse_arguments(R "" "" "DEPENDS" ${ARGN})
  get_filename_component(source ${rc} ABSOLUTE)
  get_filename_component(stem ${rc} NAME_WE)
  get_filename_component(folder ${source} DIRECTORY)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}.res)
  set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${target}_${stem}_res.cpp)
  add_custom_command(OUTPUT ${res}
    COMMAND ${PHONE_WINDRES} --preprocessor=cpp --preprocessor-arg=-DRC_INVOKED --codepage=65001
            -I ${folder} -I ${PROJECT_SOURCE_DIR}/platform/include -O res ${source} ${res}
    DEPENDS ${source} ${R_DEPENDS}
    COMMENT "Compiling resources ${rc}" VERBATIM)
  add_custom_command(OUTPUT ${cpp}
    COMMAND ${CMAKE_COMMAND} -DXXD=${PHONE_XXD} -DINPUT=${res} -DOUTPUT=${cpp} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${res} ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake VERBATIM)
  target_sources(${target} PRIVATE ${cpp})
endfunction()
