# Runs first when the program is installed (cmake --install, and CPack's
# staging install): before anything is copied it makes sure that every file
# to install exists and that every destination folder can be written, so a
# missing icon or a folder without write permission stops the install with a
# clear message instead of leaving half a program behind.
#
# Set by the caller: SERENITAP_INSTALL_FILES (files that must exist) and
# SERENITAP_INSTALL_DIRS (destination folders below the install prefix).

set(missing "")
foreach(file IN LISTS SERENITAP_INSTALL_FILES)
  if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
    list(APPEND missing "${file}")
  else()
    file(SIZE "${file}" size)
    if(size EQUAL 0)
      list(APPEND missing "${file} (empty)")
    endif()
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " missing_text)
  message(FATAL_ERROR
    "Serenitap cannot be installed: these files are missing:\n  ${missing_text}\n"
    "Build the project first (cmake --build <build folder>); nothing was installed.")
endif()

set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
foreach(dir IN LISTS SERENITAP_INSTALL_DIRS)
  if(IS_ABSOLUTE "${dir}")
    set(target "$ENV{DESTDIR}${dir}")
  else()
    set(target "${prefix}/${dir}")
  endif()
  # The folder itself, or the nearest folder above it that exists, must take
  # a new file: that is where the install will create what it needs.
  set(probe_dir "${target}")
  while(NOT EXISTS "${probe_dir}")
    get_filename_component(parent "${probe_dir}" DIRECTORY)
    if(parent STREQUAL probe_dir)
      break()
    endif()
    set(probe_dir "${parent}")
  endwhile()
  if(NOT IS_DIRECTORY "${probe_dir}")
    message(FATAL_ERROR
      "Serenitap cannot be installed into ${prefix}: ${probe_dir} is not a folder, "
      "so ${target} cannot be created. Nothing was installed.")
  endif()
  string(RANDOM LENGTH 8 token)
  set(probe "${probe_dir}/.serenitap-install-check-${token}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E touch "${probe}"
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(NOT status EQUAL 0 OR NOT EXISTS "${probe}")
    message(FATAL_ERROR
      "Serenitap cannot be installed into ${prefix}: no permission to write in ${probe_dir} "
      "(needed for ${target}).\n"
      "Install as a user who may write there (for example with sudo), or choose another "
      "folder with: cmake --install <build folder> --prefix <folder>. Nothing was installed.")
  endif()
  file(REMOVE "${probe}")
endforeach()
