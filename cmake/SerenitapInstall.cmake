# Installs Serenitap as a desktop program on freedesktop.org desktops (Linux,
# the BSDs): the program, its desktop entry, its icon (scalable SVG plus PNG
# sizes in the hicolor theme) and its AppStream metadata, in the standard
# places below the install prefix.
#
# The desktop entry, the metadata and the icons share one id, the maker's
# web address turned round; the window uses the same SVG (the program's
# resource :/serenitap.svg is resources/serenitap.svg).
include(GNUInstallDirs)

set(SERENITAP_APP_ID com.quorvex.Serenitap)
set(SERENITAP_ICON_SIZES 16 22 24 32 48 64 128 256 512)

set(serenitap_icon_svg ${PROJECT_SOURCE_DIR}/resources/serenitap.svg)
set(serenitap_desktop_file ${PROJECT_SOURCE_DIR}/packaging/${SERENITAP_APP_ID}.desktop)
set(serenitap_metainfo_file ${PROJECT_BINARY_DIR}/packaging/${SERENITAP_APP_ID}.metainfo.xml)
set(serenitap_copyright_file ${PROJECT_SOURCE_DIR}/packaging/copyright)
set(serenitap_icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

configure_file(${PROJECT_SOURCE_DIR}/packaging/${SERENITAP_APP_ID}.metainfo.xml.in
               ${serenitap_metainfo_file} @ONLY)

# The PNG icons are rendered from the SVG at build time; a render that fails
# fails the build (see RenderIcon.cmake), so no install goes without them.
find_program(SERENITAP_RSVG_CONVERT rsvg-convert)
if(NOT SERENITAP_RSVG_CONVERT)
  message(FATAL_ERROR
    "rsvg-convert was not found. It renders the program's PNG icons; install the Debian "
    "package librsvg2-bin (scripts/setup.sh does), or point SERENITAP_RSVG_CONVERT at it.")
endif()

set(serenitap_icon_pngs "")
foreach(size IN LISTS SERENITAP_ICON_SIZES)
  set(png ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/${SERENITAP_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -DRSVG_CONVERT=${SERENITAP_RSVG_CONVERT} -DSVG=${serenitap_icon_svg}
            -DPNG=${png} -DSIZE=${size} -P ${PROJECT_SOURCE_DIR}/cmake/RenderIcon.cmake
    DEPENDS ${serenitap_icon_svg} ${PROJECT_SOURCE_DIR}/cmake/RenderIcon.cmake
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
  list(APPEND serenitap_icon_pngs ${png})
endforeach()
add_custom_target(serenitap_icons ALL DEPENDS ${serenitap_icon_pngs})

# Before anything is copied: every file present, every folder writable.
# The program proper, the chart of My Progress, the dialogs' pictures and the
# voice are modules the program loads from here (src/app/CMakeLists.txt and
# src/ui/journal/CMakeLists.txt lead the program to them).
set(serenitap_chart_dir ${CMAKE_INSTALL_LIBDIR}/serenitap)
set(serenitap_install_dirs
    ${CMAKE_INSTALL_BINDIR}
    ${serenitap_chart_dir}
    ${CMAKE_INSTALL_DATADIR}/applications
    ${CMAKE_INSTALL_DATADIR}/metainfo
    ${CMAKE_INSTALL_DATADIR}/doc/serenitap
    ${serenitap_icon_dir}/scalable/apps)
foreach(size IN LISTS SERENITAP_ICON_SIZES)
  list(APPEND serenitap_install_dirs ${serenitap_icon_dir}/${size}x${size}/apps)
endforeach()
set(serenitap_install_files
    $<TARGET_FILE:serenitap> $<TARGET_FILE:serenitap_program> $<TARGET_FILE:serenitap_chart>
    $<TARGET_FILE:serenitap_pictures> $<TARGET_FILE:serenitap_speech> ${serenitap_desktop_file} ${serenitap_metainfo_file}
    ${serenitap_copyright_file} ${serenitap_icon_svg} ${serenitap_icon_pngs})
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/serenitap_install_preflight.cmake
     CONTENT "set(SERENITAP_INSTALL_FILES \"${serenitap_install_files}\")
set(SERENITAP_INSTALL_DIRS \"${serenitap_install_dirs}\")
include(\"${PROJECT_SOURCE_DIR}/cmake/InstallPreflight.cmake\")
")
install(SCRIPT ${PROJECT_BINARY_DIR}/serenitap_install_preflight.cmake)

install(TARGETS serenitap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS serenitap_program serenitap_chart serenitap_pictures serenitap_speech LIBRARY DESTINATION ${serenitap_chart_dir})
install(FILES ${serenitap_desktop_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${serenitap_metainfo_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${serenitap_icon_svg} DESTINATION ${serenitap_icon_dir}/scalable/apps
        RENAME ${SERENITAP_APP_ID}.svg)
foreach(size IN LISTS SERENITAP_ICON_SIZES)
  install(FILES ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/${SERENITAP_APP_ID}.png
          DESTINATION ${serenitap_icon_dir}/${size}x${size}/apps)
endforeach()
install(FILES ${serenitap_copyright_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/serenitap)

# What an install must hold, relative to the prefix (the package check reads it).
set(SERENITAP_INSTALLED_FILES
    ${CMAKE_INSTALL_BINDIR}/serenitap
    ${serenitap_chart_dir}/serenitap_program.so
    ${serenitap_chart_dir}/serenitap_chart.so
    ${serenitap_chart_dir}/serenitap_pictures.so
    ${serenitap_chart_dir}/serenitap_speech.so
    ${CMAKE_INSTALL_DATADIR}/applications/${SERENITAP_APP_ID}.desktop
    ${CMAKE_INSTALL_DATADIR}/metainfo/${SERENITAP_APP_ID}.metainfo.xml
    ${CMAKE_INSTALL_DATADIR}/doc/serenitap/copyright
    ${serenitap_icon_dir}/scalable/apps/${SERENITAP_APP_ID}.svg)
foreach(size IN LISTS SERENITAP_ICON_SIZES)
  list(APPEND SERENITAP_INSTALLED_FILES ${serenitap_icon_dir}/${size}x${size}/apps/${SERENITAP_APP_ID}.png)
endforeach()
