# Helpers shared by every folder of the project.

# velk_sources(<out-var> <folder> RECURSE) collects the .cpp and .c files of a
# folder, with those of its subfolders when RECURSE is given.
function(velk_sources out folder)
  cmake_parse_arguments(ARG "RECURSE" "" "" ${ARGN})
  set(patterns ${folder}/*.cpp ${folder}/*.c)
  if(ARG_RECURSE)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${patterns})
  else()
    file(GLOB found CONFIGURE_DEPENDS ${patterns})
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# velk_library(<name> [RECURSE] [LIBS ...] [EXCLUDE files...] [SOURCES files...]):
# a static library from the .cpp and .c files of the current folder (with its
# subfolders when RECURSE is given), or from the SOURCES listed (paths
# relative to the folder). EXCLUDE names files (relative to the folder) left
# out, e.g. a program's main file that the folder builds itself.
function(velk_library name)
  cmake_parse_arguments(ARG "RECURSE" "" "LIBS;EXCLUDE;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  elseif(ARG_RECURSE)
    velk_sources(sources ${CMAKE_CURRENT_SOURCE_DIR} RECURSE)
  else()
    velk_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  foreach(f IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
  if(NOT sources)
    message(FATAL_ERROR "Library ${name} has no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# velk_test(<name> [RECURSE] [LIBS ...] [SOURCES files...]): one GoogleTest
# executable from the .cpp files of the current folder (with its subfolders
# when RECURSE is given) or from the SOURCES listed, run under Wine. ctest
# runs it twice: <name> in the written order and <name>_shuffled in a
# shuffled order (label "shuffled"; the seed comes from GTEST_RANDOM_SEED,
# which tools/test.sh sets and prints). ctest ends a run after a few minutes.
function(velk_test name)
  cmake_parse_arguments(ARG "RECURSE" "" "LIBS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    if(ARG_RECURSE)
      file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    else()
      file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    endif()
  endif()
  add_executable(${name} ${sources} ${VELK_MANIFEST_RC})
  target_link_libraries(${name} PRIVATE velk_test_support ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  add_test(NAME ${name}_shuffled COMMAND ${name} --gtest_shuffle)
  set_tests_properties(${name} ${name}_shuffled PROPERTIES TIMEOUT ${VELK_TEST_TIMEOUT})
  set_tests_properties(${name}_shuffled PROPERTIES LABELS shuffled)
endfunction()
