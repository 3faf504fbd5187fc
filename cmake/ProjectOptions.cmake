# Shared compile settings for every target of the project.
add_library(tdi_options INTERFACE)
target_compile_options(tdi_options INTERFACE
  -Wall -Wextra -Wpedantic -Werror
  -Wno-missing-field-initializers)
target_compile_definitions(tdi_options INTERFACE QT_NO_KEYWORDS)
if(TDI_SANITIZE)
  target_compile_options(tdi_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tdi_options INTERFACE -fsanitize=address,undefined)
endif()
if(TDI_BUILD_FUZZ)
  # Coverage instrumentation for every module, so the fuzzers see into the libraries.
  target_compile_options(tdi_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# tdi_module(name SOURCES ... LIBS ...): a static, position-independent module library.
function(tdi_module name)
  cmake_parse_arguments(M "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${M_SOURCES})
  target_link_libraries(${name} PUBLIC tdi_options ${M_LIBS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN OFF)
endfunction()

# tdi_test(name SOURCES ... LIBS ...): a GoogleTest program registered with CTest.
function(tdi_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tdi_options GTest::gtest GTest::gtest_main ${T_LIBS})
  target_compile_definitions(${name} PRIVATE TDI_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared" TDI_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")
endfunction()

# tdi_glob_module(name DIR dir LIBS ...): a module library made of every .cpp in dir.
# Does nothing while dir holds no source yet.
function(tdi_glob_module name)
  cmake_parse_arguments(M "" "DIR" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${M_DIR}/*.cpp)
  if(srcs)
    tdi_module(${name} SOURCES ${srcs} LIBS ${M_LIBS})
  endif()
endfunction()

# Adds every direct subfolder of the current folder that has a CMakeLists.txt.
function(tdi_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# tdi_fuzz_target(name SOURCE file SEEDS dir LIBS ...): the fuzz entry point
# LLVMFuzzerTestOneInput in SOURCE; with TDI_BUILD_FUZZ a libFuzzer binary, otherwise a
# replay program run as a test over every file in SEEDS.
function(tdi_fuzz_target name)
  cmake_parse_arguments(F "" "SOURCE;SEEDS" "LIBS" ${ARGN})
  if(TDI_BUILD_FUZZ)
    add_executable(${name} ${F_SOURCE})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${F_SOURCE} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    if(TDI_BUILD_TESTS)
      add_test(NAME ${name}_replay COMMAND ${name} ${F_SEEDS})
      set_tests_properties(${name}_replay PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")
    endif()
  endif()
  target_link_libraries(${name} PRIVATE tdi_options ${F_LIBS})
endfunction()
