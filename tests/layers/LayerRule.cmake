# cmake -DSOURCE_DIR=<repository> -DBINARY_DIR=<build>
#       -DCOMPILE_COMMANDS=<build>/compile_commands.json -DWORK_DIR=<scratch folder> -DGUI_LOGIC_LINKS=<libraries> -P LayerRule.cmake
#
# Compiles one-line sources that include a header, each with the compile command of a real
# source of a layer, and checks that the header is found exactly when the layer may use it.
# GUI_LOGIC_LINKS lists, comma-separated, every library that gui/logic links, directly or through
# another.

file(READ "${COMPILE_COMMANDS}" compileCommands)
string(JSON entryCount LENGTH "${compileCommands}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(failures "")

# The compile command (as a list) and its working directory of the first source that lies
# directly in the layer's folder; the source itself is replaced by the probe.
function(layer_command layer probe outCommand outDirectory)
  math(EXPR last "${entryCount} - 1")
  foreach(i RANGE ${last})
    string(JSON file GET "${compileCommands}" ${i} file)
    get_filename_component(folder "${file}" DIRECTORY)
    string(JSON directory GET "${compileCommands}" ${i} directory)
    # A unity build compiles the layer's sources through one generated file, in
    # <layer's build folder>/CMakeFiles/<target>.dir/Unity.
    get_filename_component(unityOwner "${folder}/../../.." ABSOLUTE)
    if(folder STREQUAL "${SOURCE_DIR}/${layer}" OR
       (unityOwner STREQUAL "${BINARY_DIR}/${layer}" AND folder MATCHES "/Unity$"))
      string(JSON command GET "${compileCommands}" ${i} command)
      separate_arguments(command UNIX_COMMAND "${command}")
      # The probe must leave the layer's own object file alone.
      list(FIND command "-o" outputAt)
      if(outputAt GREATER -1)
        math(EXPR objectAt "${outputAt} + 1")
        list(REMOVE_AT command ${outputAt} ${objectAt})
      endif()
      list(FIND command "${file}" sourceAt)
      if(sourceAt EQUAL -1)
        message(FATAL_ERROR "The compile command of ${file} does not name it")
      endif()
      list(REMOVE_AT command ${sourceAt})
      list(INSERT command ${sourceAt} "${probe}")
      list(APPEND command -fsyntax-only)
      set(${outCommand} "${command}" PARENT_SCOPE)
      set(${outDirectory} "${directory}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "No compile command for a source in ${layer}/")
endfunction()

# Includes the header (a path from the repository root) by its file name, as the sources do.
function(check layer header mayInclude)
  if(NOT EXISTS "${SOURCE_DIR}/${header}")
    # A renamed header would otherwise be "not found" for the wrong reason.
    message(FATAL_ERROR "${header} does not exist")
  endif()
  get_filename_component(name "${header}" NAME)
  probe_include("${layer}" "${name}" "\"${name}\"" "${header}" ${mayInclude})
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# Includes a library's header the way a source would, as <name>.
function(check_library layer name mayInclude)
  probe_include("${layer}" "${name}" "<${name}>" "<${name}>" ${mayInclude})
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# Compiles "#include <included>" as the layer does; the header is called <label> in failures.
function(probe_include layer name included label mayInclude)
  string(MAKE_C_IDENTIFIER "${layer}_includes_${name}" probeName)
  set(probe "${WORK_DIR}/${probeName}.cpp")
  file(WRITE "${probe}" "#include ${included}\n")
  layer_command("${layer}" "${probe}" command directory)
  execute_process(COMMAND ${command} WORKING_DIRECTORY "${directory}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(REPLACE "." "\\." escapedName "${name}")
  if(output MATCHES "${escapedName}: No such file or directory|'${escapedName}' file not found")
    set(found FALSE)
  elseif(result EQUAL 0)
    set(found TRUE)
  else()
    string(APPEND failures "${layer}/ including ${label} failed for another reason:\n${output}\n")
    set(failures "${failures}" PARENT_SCOPE)
    return()
  endif()
  if(mayInclude AND NOT found)
    string(APPEND failures "${layer}/ cannot include ${label}, which it may use\n")
  elseif(NOT mayInclude AND found)
    string(APPEND failures "${layer}/ can include ${label}, against the layer order\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# Bottom to top: app/contract, rules, engine, app/files, then xboard, uci and gui (with
# gui/logic) side by side, and app/main. Each layer reaches the one below and not the one above,
# and the front-ends do not reach each other.
check(app/contract app/contract/UserInterface.h TRUE)
check(app/contract rules/Position.h FALSE)
check(rules app/contract/Settings.h TRUE)
check(rules engine/Search.h FALSE)
check(engine rules/Position.h TRUE)
check(engine app/files/SettingsFile.h FALSE)
check(engine gui/SDLUserInterface.h FALSE)
check(app/files app/contract/Settings.h TRUE)
check(app/files rules/San.h TRUE)
check(app/files xboard/XBoardUserInterface.h FALSE)
check(xboard engine/SearchControl.h TRUE)
check(xboard gui/SDLUserInterface.h FALSE)
check(xboard app/main/EntryPoint.h FALSE)
check(gui/logic rules/Position.h TRUE)
check(gui/logic gui/Toolkit.h FALSE)
check(gui app/files/SettingsFile.h TRUE)
check(gui xboard/XBoardUserInterface.h FALSE)
check(uci engine/SearchControl.h TRUE)
check(uci rules/Fen.h TRUE)
check(uci xboard/XBoardUserInterface.h FALSE)
check(uci gui/SDLUserInterface.h FALSE)
check(uci app/files/SettingsFile.h FALSE)
check(uci app/main/EntryPoint.h FALSE)
check(xboard uci/UciUserInterface.h FALSE)
check(gui uci/UciUserInterface.h FALSE)
check(engine uci/UciUserInterface.h FALSE)

# gui/logic is plain C++, tested without a display: SDL stays in gui/. Its headers are off the
# layer's include path, no source of it names them by another path, and it links no SDL.
check_library(gui SDL.h TRUE)
check_library(gui/logic SDL.h FALSE)
file(GLOB_RECURSE logicSources "${SOURCE_DIR}/gui/logic/*")
foreach(source ${logicSources})
  file(STRINGS "${source}" sdlIncludes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](SDL/)?SDL")
  if(sdlIncludes)
    string(APPEND failures "${source} includes SDL: ${sdlIncludes}\n")
  endif()
endforeach()
string(REPLACE "," ";" guiLogicLinks "${GUI_LOGIC_LINKS}")
if(NOT guiLogicLinks)
  string(APPEND failures "No libraries of gui/logic given: it links at least the rules\n")
endif()
foreach(library ${guiLogicLinks})
  if(library MATCHES "SDL")
    string(APPEND failures "gui/logic links ${library}\n")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "The layer rule does not hold:\n${failures}")
endif()
