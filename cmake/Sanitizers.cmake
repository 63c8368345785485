# In a sanitized build (HARMONET_SANITIZE) every program under the folder, the
# tests and the programs they start alike, carries the sanitizers' options
# (tests/support/SanitizerOptions.cpp) with the suppressions of
# tests/sanitizers/: a report fails the program that makes it, and a report
# wholly inside a third-party library fails none.
function(harmonet_add_sanitizer_options folder)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/SanitizerOptions.cpp)
      target_compile_definitions(${target} PRIVATE
        HARMONET_SANITIZER_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/sanitizers")
    endif()
  endforeach()
  get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS subfolders)
    harmonet_add_sanitizer_options(${subfolder})
  endforeach()
endfunction()
