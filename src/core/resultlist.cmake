# The behaviour shared by the result windows and the painting of their grids.
list(APPEND VASTEL_UI_SOURCES
  core/ResultList.cpp
  core/ResultGridDelegate.cpp
)
