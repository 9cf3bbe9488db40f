# Each library's headers are seen by its users under the name of its folder
# ("dice/parse.h", "ui/model/roller_model.h"), and by no one else: every
# library has an include folder of its own in the build tree, holding only a
# link to its source folder. A file that includes a header of a library its
# target does not link, directly or through a public link, fails to build,
# so the links in the CMakeLists are the layers.
function(alearo_public_headers target folder)
    set(root ${PROJECT_BINARY_DIR}/include/${target})
    set(link ${root}/${folder})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
endfunction()
