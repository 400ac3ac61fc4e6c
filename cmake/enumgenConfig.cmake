include("${CMAKE_CURRENT_LIST_DIR}/enumgenTargets.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/enumgen-generate.cmake")
