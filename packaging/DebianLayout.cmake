# Run by CPack on the staged files, before it packs them, for what a Debian package does
# differently from a plain installation.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

# Games live in /usr/games.
if(NOT EXISTS "${root}/bin/veltmark")
  message(FATAL_ERROR "the staged files have no program at ${root}/bin/veltmark")
endif()
file(MAKE_DIRECTORY "${root}/games")
file(RENAME "${root}/bin/veltmark" "${root}/games/veltmark")
file(GLOB left "${root}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${root}/bin")
endif()

# The font becomes a link to the copy that fonts-liberation, a dependency, installs.
set(font "${root}/share/veltmark/fonts/LiberationSans-Regular.ttf")
if(NOT EXISTS "${font}")
  message(FATAL_ERROR "the staged files have no font at ${font}")
endif()
file(REMOVE "${font}")
get_filename_component(fontDir "${CPACK_PACKAGING_INSTALL_PREFIX}/share/veltmark/fonts" ABSOLUTE)
file(RELATIVE_PATH target "${fontDir}" "${CPACK_VELTMARK_SYSTEM_FONT}")
file(CREATE_LINK "${target}" "${font}" SYMBOLIC)
