# Copies resources/ beside the executables at build time, so that bin/ is a program folder.
add_custom_target(clipwright_resources ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources
            ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    COMMENT "Copying resources beside the executables")
