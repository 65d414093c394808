# Renders the program's SVG icon as one square PNG and checks the result.
#
#   cmake -DRSVG_CONVERT=... -DSVG=icon.svg -DPNG=out.png -DSIZE=48 -P RenderIcon.cmake
#
# The PNG is written under a temporary name and moved into place only when it
# is a PNG of exactly SIZE x SIZE pixels, so a failed render leaves no file
# behind for the install to pick up.
foreach(var RSVG_CONVERT SVG PNG SIZE)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "RenderIcon.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE "${PNG}")
get_filename_component(folder "${PNG}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
set(partial "${PNG}.partial")
file(REMOVE "${partial}")

execute_process(
  COMMAND "${RSVG_CONVERT}" --width=${SIZE} --height=${SIZE} --keep-aspect-ratio
          --format=png --output "${partial}" "${SVG}"
  RESULT_VARIABLE status
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT EXISTS "${partial}")
  file(REMOVE "${partial}")
  message(FATAL_ERROR "Could not render the ${SIZE}x${SIZE} icon from ${SVG} "
                      "(rsvg-convert: ${status}) ${errors}")
endif()

# PNG signature, then the IHDR chunk: width and height as 32-bit big-endian.
file(READ "${partial}" head LIMIT 24 HEX)
string(LENGTH "${head}" head_length)
if(head_length LESS 48)
  file(REMOVE "${partial}")
  message(FATAL_ERROR "The icon rendered from ${SVG} at ${SIZE}x${SIZE} is not a PNG (too short)")
endif()
string(SUBSTRING "${head}" 0 16 signature)
string(SUBSTRING "${head}" 32 8 width_hex)
string(SUBSTRING "${head}" 40 8 height_hex)
math(EXPR width "0x${width_hex}")
math(EXPR height "0x${height_hex}")
if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL SIZE OR NOT height EQUAL SIZE)
  file(REMOVE "${partial}")
  message(FATAL_ERROR "The icon rendered from ${SVG} is not a ${SIZE}x${SIZE} PNG "
                      "(signature ${signature}, ${width}x${height})")
endif()

file(RENAME "${partial}" "${PNG}")
