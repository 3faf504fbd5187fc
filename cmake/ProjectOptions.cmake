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
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")
endfunction()
