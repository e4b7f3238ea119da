# Fails when a headless folder includes window code (a file of ui/, controller/ or app/, or a Qt
# Gui or Widgets header) or a headless folder above its own layer. The headless layers from the
# bottom up: config, edit, link, devices, engine; cli and guard sit on top of all of them.
# Run as: cmake -DSOURCE_DIR=<tree> -P CheckLayers.cmake
set(layers config edit link devices engine)
set(gui_regex "#include[ \t]*[<\"](ui|controller|app)/|#include[ \t]*<Qt(Gui|Widgets|Svg)[/>]|#include[ \t]*<Q(Widget|Application|GuiApplication|Pixmap|Image|Color|Font|Painter|Icon|Dialog|Action|UndoStack|UndoCommand|TextDocument[A-Za-z]*)>")
set(broken "")

function(check_folder dir regex)
    file(GLOB_RECURSE files "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.cpp")
    foreach(file ${files})
        file(STRINGS "${file}" lines REGEX "${regex}")
        foreach(line ${lines})
            file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
            list(APPEND broken "${rel}: ${line}")
        endforeach()
    endforeach()
    set(broken "${broken}" PARENT_SCOPE)
endfunction()

set(above "")
list(REVERSE layers)
foreach(dir ${layers})
    if(above)
        list(JOIN above "|" above_alternatives)
        check_folder(${dir} "${gui_regex}|#include[ \t]*\"(${above_alternatives})/")
    else()
        check_folder(${dir} "${gui_regex}")
    endif()
    list(APPEND above ${dir})
endforeach()
check_folder(cli "${gui_regex}")
check_folder(guard "${gui_regex}")

if(broken)
    list(JOIN broken "\n" text)
    message(FATAL_ERROR "Layer rules broken (headless code may use only the layers below it):\n${text}")
endif()
message(STATUS "Headless folders keep to their layers")
