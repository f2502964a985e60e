# What the desktop needs, made at build time into build/data: the icon in every hicolor size
# from its SVG, the AppStream metadata and the man pages with the version, and the compressed
# Debian changelog.

find_program(Q5_RSVG_CONVERT rsvg-convert REQUIRED) # Debian package librsvg2-bin
find_program(Q5_GZIP gzip REQUIRED)

set(Q5_DATA_SOURCE ${CMAKE_SOURCE_DIR}/data)
set(Q5_DATA_BUILD ${CMAKE_BINARY_DIR}/data)
set(Q5_ICON_SIZES 16 32 48 64 128 256)
# The date of this version, as the man pages, the changelog and the metainfo give it.
set(Q5_RELEASE_DATE "December 2026")
set(Q5_RELEASE_DATE_ISO 2026-12-08)
set(Q5_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 09:00:00 +0000")

set(Q5_ICON_SVG ${Q5_DATA_SOURCE}/${Q5_APP_ID}.svg)
set(Q5_DATA_OUTPUTS)

foreach(size IN LISTS Q5_ICON_SIZES)
    set(dir ${Q5_DATA_BUILD}/icons/${size}x${size})
    set(png ${dir}/${Q5_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${Q5_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${Q5_ICON_SVG}
        DEPENDS ${Q5_ICON_SVG}
        COMMENT "Drawing the ${size}x${size} icon"
        VERBATIM)
    list(APPEND Q5_DATA_OUTPUTS ${png})
endforeach()

configure_file(${Q5_DATA_SOURCE}/${Q5_APP_ID}.metainfo.xml.in
    ${Q5_DATA_BUILD}/${Q5_APP_ID}.metainfo.xml @ONLY)

# A configured text, compressed as Debian wants man pages and changelogs: gzip -9n, so that
# the bytes do not depend on when they were made.
function(q5_gzip_configured source name)
    set(plain ${Q5_DATA_BUILD}/gz/${name})
    configure_file(${source} ${plain} @ONLY)
    add_custom_command(OUTPUT ${Q5_DATA_BUILD}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${plain} ${Q5_DATA_BUILD}/${name}
        COMMAND ${Q5_GZIP} -9 -n -f ${Q5_DATA_BUILD}/${name}
        DEPENDS ${plain}
        VERBATIM)
    set(Q5_DATA_OUTPUTS ${Q5_DATA_OUTPUTS} ${Q5_DATA_BUILD}/${name}.gz PARENT_SCOPE)
endfunction()

q5_gzip_configured(${Q5_DATA_SOURCE}/man/tarvik-q5.1.in tarvik-q5.1)
q5_gzip_configured(${Q5_DATA_SOURCE}/man/q5-emulator.1.in q5-emulator.1)
q5_gzip_configured(${Q5_DATA_SOURCE}/changelog.in changelog)

add_custom_target(q5_desktop_data ALL DEPENDS ${Q5_DATA_OUTPUTS})
