# tw_own_headers(TARGET FOLDER): TARGET's users reach the headers of src/FOLDER, as
# "FOLDER/Name.h", and no others: the include directory TARGET exports holds a link to that one
# folder, so a header of a library not linked is not found.
function(tw_own_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
