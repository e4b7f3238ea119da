# The version the programs and the package show: the project version, plus the git revision
# (commits since the start of history and the abbreviated commit id) when built from a checkout,
# so that two builds of different commits never carry the same version.
function(clipwright_version_text source_dir base_version out_var)
    set(text "${base_version}")
    find_program(GIT_PROGRAM git)
    if(GIT_PROGRAM)
        execute_process(COMMAND ${GIT_PROGRAM} -C ${source_dir} rev-list --count HEAD
            OUTPUT_VARIABLE count RESULT_VARIABLE count_failed
            OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        execute_process(COMMAND ${GIT_PROGRAM} -C ${source_dir} rev-parse --short=10 HEAD
            OUTPUT_VARIABLE commit RESULT_VARIABLE commit_failed
            OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(NOT count_failed AND NOT commit_failed)
            set(text "${base_version}+git${count}.${commit}")
        endif()
    endif()
    set(${out_var} "${text}" PARENT_SCOPE)
endfunction()
