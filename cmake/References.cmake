# Reference libraries that tests and benchmarks compare against. The library
# itself never links any of them.
include_guard(GLOBAL)

find_package(GEOS CONFIG REQUIRED)           # GEOS::geos_c (C API)
find_package(Boost REQUIRED)                 # Boost::headers (Boost.Geometry)
find_package(PkgConfig REQUIRED)
pkg_check_modules(POLYCLIPPING REQUIRED IMPORTED_TARGET polyclipping)  # Clipper
find_path(NANOFLANN_INCLUDE_DIR nanoflann.hpp REQUIRED)

if(NOT TARGET allotrix_references)
  add_library(allotrix_references INTERFACE)
  target_link_libraries(allotrix_references INTERFACE GEOS::geos_c Boost::headers PkgConfig::POLYCLIPPING)
  target_include_directories(allotrix_references SYSTEM INTERFACE ${NANOFLANN_INCLUDE_DIR})
  # Boost.Geometry still includes headers Boost itself marks deprecated.
  target_compile_definitions(allotrix_references INTERFACE BOOST_ALLOW_DEPRECATED_HEADERS)
endif()
