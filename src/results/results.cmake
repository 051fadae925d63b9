# Shared by the result windows: the job runner.
list(APPEND VASTEL_UI_SOURCES
  results/JobRunner.cpp
)
