# bzip2 and Crypto++: the Debian -dev packages natively; for Windows the static libraries
# that scripts/windows-deps.sh built from the same Debian sources (MORVANTA_DEPS_PREFIX).
if(CMAKE_CROSSCOMPILING)
  if(NOT MORVANTA_DEPS_PREFIX)
    message(FATAL_ERROR "MORVANTA_DEPS_PREFIX is not set: configure through ./dev build")
  endif()
  add_library(morvanta_bzip2 STATIC IMPORTED GLOBAL)
  set_target_properties(morvanta_bzip2 PROPERTIES
    IMPORTED_LOCATION "${MORVANTA_DEPS_PREFIX}/lib/libbz2.a"
    INTERFACE_INCLUDE_DIRECTORIES "${MORVANTA_DEPS_PREFIX}/include")
  add_library(morvanta_cryptopp STATIC IMPORTED GLOBAL)
  set_target_properties(morvanta_cryptopp PROPERTIES
    IMPORTED_LOCATION "${MORVANTA_DEPS_PREFIX}/lib/libcryptopp.a"
    INTERFACE_INCLUDE_DIRECTORIES "${MORVANTA_DEPS_PREFIX}/include")
else()
  find_package(BZip2 REQUIRED)
  find_library(CRYPTOPP_LIBRARY NAMES cryptopp crypto++ REQUIRED)
  find_path(CRYPTOPP_INCLUDE_DIR cryptopp/md5.h REQUIRED)
  add_library(morvanta_bzip2 INTERFACE)
  target_link_libraries(morvanta_bzip2 INTERFACE BZip2::BZip2)
  add_library(morvanta_cryptopp INTERFACE)
  target_link_libraries(morvanta_cryptopp INTERFACE "${CRYPTOPP_LIBRARY}")
  target_include_directories(morvanta_cryptopp INTERFACE "${CRYPTOPP_INCLUDE_DIR}")
endif()
