# The media tools' pages and streams (media_routes.h), and the demo TV clips
# they loop, made once at build time with GStreamer's test sources
# (gst-launch-1.0). Without it the TV channels answer 404 and the player shows
# its error.
target_sources(aurivex_demo_portal_lib PRIVATE media_routes.cpp reference_pages.cpp)

find_program(GST_LAUNCH gst-launch-1.0)
if(GST_LAUNCH)
  set(tv_clips)
  foreach(clip IN ITEMS "litv01|smpte|440|第一财经一 演示" "stv2|smpte75|523|第一财经二 演示"
                        "cctv1|smpte100|659|中央电视二台 演示")
    string(REPLACE "|" ";" fields "${clip}")
    list(GET fields 0 name)
    list(GET fields 1 pattern)
    list(GET fields 2 tone)
    list(GET fields 3 caption)
    set(output ${CMAKE_BINARY_DIR}/tools/demo-tv/${name}.ts)
    add_custom_command(OUTPUT ${output}
                       COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/make-demo-tv ${output} ${pattern} ${tone} ${caption}
                       DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make-demo-tv
                       COMMENT "Making the demo TV clip ${name}"
                       VERBATIM)
    list(APPEND tv_clips ${output})
  endforeach()
  add_custom_target(demo_tv_clips ALL DEPENDS ${tv_clips})
  add_dependencies(aurivex-demo-portal demo_tv_clips)
  # An installed portal finds them in <prefix>/share/aurivex/demo-tv.
  install(FILES ${tv_clips} DESTINATION share/aurivex/demo-tv)
else()
  message(WARNING "gst-launch-1.0 not found: the demo portal has no TV clips")
endif()

if(BUILD_TESTING)
  add_executable(test_demo_portal_media tests/test_media_routes.cpp)
  target_link_libraries(test_demo_portal_media PRIVATE aurivex_demo_portal_lib aurivex_provision Qt6::Network Qt6::Test)
  target_include_directories(test_demo_portal_media PRIVATE ${test_support_dir})
  aurivex_warnings(test_demo_portal_media)
  add_test(NAME demo_portal_media COMMAND test_demo_portal_media)
  set_tests_properties(demo_portal_media PROPERTIES TIMEOUT 60)
endif()
