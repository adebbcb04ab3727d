# Runs the data generator into OUTPUT and compares every file with its committed copy.
file(REMOVE_RECURSE ${OUTPUT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${result}")
endif()
set(files gfx/board.lwo gfx/king.lwo gfx/queen.lwo gfx/rook.lwo gfx/bishop.lwo gfx/knight.lwo
          gfx/pawn.lwo gfx/coarse/king.lwo gfx/coarse/queen.lwo gfx/coarse/rook.lwo
          gfx/coarse/bishop.lwo gfx/coarse/knight.lwo gfx/coarse/pawn.lwo textures/board.gif
          sounds/move.wav sounds/capture.wav sounds/check.wav sounds/end.wav)
foreach(name IN LISTS files)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT}/${name} ${COMMITTED}/${name}
                  RESULT_VARIABLE different)
  if(NOT different EQUAL 0)
    message(FATAL_ERROR "${name} differs from what the generator makes: run the target regenerate-assets")
  endif()
endforeach()
file(GLOB_RECURSE made RELATIVE ${OUTPUT} ${OUTPUT}/*)
list(SORT made)
list(SORT files)
if(NOT made STREQUAL files)
  message(FATAL_ERROR "the generator made ${made}, expected ${files}")
endif()
message(STATUS "the committed data files match the generator")
