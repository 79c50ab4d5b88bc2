# The Windows build (MinGW-w64, see mingw-w64.cmake): the libraries are static, so their
# pkg-config files' static link lines are used; the game's Windows code needs a few system
# libraries; vorlan.exe gets its icon, version information and manifest and no console.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX WIN32_LEAN_AND_MEAN CURL_STATICLIB
                        _POSIX_THREAD_SAFE_FUNCTIONS=200112L)
foreach(m SDL2 SDL2_IMAGE SDL2_TTF CURL)
  # SDL2main and -mwindows belong to the game's executable only, not to the test program.
  set(flags ${${m}_STATIC_LDFLAGS})
  list(REMOVE_ITEM flags -lSDL2main -mwindows -lmingw32)
  set_property(TARGET PkgConfig::${m} PROPERTY INTERFACE_LINK_LIBRARIES ${flags})
  set_property(TARGET PkgConfig::${m} PROPERTY INTERFACE_LINK_OPTIONS "")
  # SDL's own main stays out too: the game has a plain main.
  set(cflags ${${m}_STATIC_CFLAGS_OTHER})
  list(REMOVE_ITEM cflags -Dmain=SDL_main)
  set_property(TARGET PkgConfig::${m} PROPERTY INTERFACE_COMPILE_OPTIONS ${cflags})
endforeach()
link_libraries(ole32 shell32 uuid iphlpapi ws2_32)
# FreeType's gzip support carries its own copy of zlib's functions, unprefixed, beside zlib itself
# (which libpng needs): both are zlib 1.2, so either copy serves.
add_link_options(-Wl,--allow-multiple-definition)

function(vorlan_windows_program target)
  set(VORLAN_ICON ${CMAKE_BINARY_DIR}/vorlan.ico)
  string(REPLACE "." "," VORLAN_VERSION_COMMAS "${PROJECT_VERSION}.0")
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/vorlan.rc.in ${CMAKE_BINARY_DIR}/vorlan.rc @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/vorlan.manifest ${CMAKE_BINARY_DIR}/vorlan.manifest COPYONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/vorlan.rc)
  target_link_options(${target} PRIVATE -mwindows)
endfunction()
