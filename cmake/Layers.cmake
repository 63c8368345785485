# Every library of the program is one layer, in one folder, and its headers
# are included by folder ("sequencer/MidiFile.h"). A library's include root
# holds nothing but a link to its own folder; the libraries above it get the
# root by linking it. So a library reaches the headers of the layers it
# links, and a header of a layer above it is not found: the build keeps the
# layers pointing one way.
function(harmonet_layer target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# The programs, tests, benchmarks and fuzz targets stand above every layer:
# they include by folder from the top of the source tree.
macro(harmonet_top_level)
  include_directories(${PROJECT_SOURCE_DIR})
  add_compile_options(-Wall -Wextra)
endmacro()
