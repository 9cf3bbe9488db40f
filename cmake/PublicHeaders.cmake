# Each library's headers are seen by its users under the name of its folder
# ("dice/parse.h", "ui/model/roller_model.h"), and by no one else: every
# library has an include folder of its own in the build tree, holding only a
# link to its source folder. A file that includes a header of a library its
# target does not link, directly or through a public link, fails to build,
# so the links in the CMakeLists are the layers.
#
# A library whose folder also holds the headers of its inner workings lists
# its public headers after HEADERS: its users then see only links to those,
# and the library itself sees the whole folder through a private include
# folder, so that no user can reach an inner header by its path.
function(alearo_public_headers target folder)
    cmake_parse_arguments(PARSE_ARGV 2 public "" "" "HEADERS")
    set(root ${PROJECT_BINARY_DIR}/include/${target})
    set(link ${root}/${folder})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT public_HEADERS)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} SYMBOLIC)
        target_include_directories(${target} PUBLIC ${root})
        return()
    endif()
    # A link to the whole folder left by an earlier configuration would
    # let the inner headers through.
    if(IS_SYMLINK ${link})
        file(REMOVE ${link})
    endif()
    file(MAKE_DIRECTORY ${link})
    foreach(header IN LISTS public_HEADERS)
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder}/${header} ${link}/${header} SYMBOLIC)
    endforeach()
    set(inner ${PROJECT_BINARY_DIR}/include/${target}_inner)
    get_filename_component(innerParent ${inner}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${innerParent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${inner}/${folder} SYMBOLIC)
    # The public folder first, so that a public header is always found by
    # the same path.
    target_include_directories(${target} PUBLIC ${root} PRIVATE ${inner})
endfunction()
