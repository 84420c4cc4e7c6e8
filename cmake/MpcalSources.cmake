# Test convention, mirroring the sources:
#   tests/<subsystem>/*.cpp      test_<subsystem>      (native, and under Wine)
#   tests/<subsystem>/win/*.cpp  test_<subsystem>_win  (Wine only)
# mpcal_collect_tests(subsystem LIBS lib... [WIN_LIBS lib...]): LIBS for the portable tests, the
# subsystem's own library; WIN_LIBS for the Windows tests, which also get the module's resources.
function(mpcal_collect_tests subsystem)
  cmake_parse_arguments(C "" "" "LIBS;WIN_LIBS" ${ARGN})
  file(GLOB core CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(core)
    mpcal_add_test(test_${subsystem} SOURCES ${core} LIBS ${C_LIBS})
  endif()
  if(WIN32)
    file(GLOB win CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win/*.cpp)
    if(win)
      mpcal_add_test(test_${subsystem}_win SOURCES ${win} LIBS ${C_WIN_LIBS} mpcal_resources_obj)
    endif()
  endif()
endfunction()
