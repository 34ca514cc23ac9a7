# The picture plug-ins' portable core: no Windows dependency, built natively
# for the sanitizer runs and benchmarks and into both picture plug-ins.
add_library(kvp_image_core STATIC
  image/CImageReader.cpp
  image/ImageBlocks.cpp
  image/ImageRows.cpp
  image/LocalTime.cpp
  image/Lzss.cpp
  image/MakeImage.cpp
  image/ShotHeader.cpp
)
target_link_libraries(kvp_image_core PUBLIC kvp_common)

# Every picture game's profile in one library, for tests and tools;
# add_image_plugin adds each. A plug-in links only its own.
add_library(kvp_image_profiles STATIC)
target_link_libraries(kvp_image_profiles PUBLIC kvp_image_core)

# The stream writers, the sample pictures and the step-by-step decoder, for
# tests, generators and benchmarks; never part of a plug-in, built only when
# something links them.
add_library(kvp_lzss_encoder STATIC EXCLUDE_FROM_ALL tools/LzssEncoder.cpp)
target_include_directories(kvp_lzss_encoder PUBLIC ${CMAKE_SOURCE_DIR})

add_library(kvp_sample_pictures STATIC EXCLUDE_FROM_ALL tools/SamplePicture.cpp)
target_include_directories(kvp_sample_pictures PUBLIC ${CMAKE_SOURCE_DIR})

add_library(kvp_lzss_reference STATIC EXCLUDE_FROM_ALL tools/LzssReference.cpp)
target_include_directories(kvp_lzss_reference PUBLIC ${CMAKE_SOURCE_DIR})
