# The job contract shared by long operations: stop token, sink, problems and their texts.
list(APPEND VASTEL_ENGINE_SOURCES
  core/JobTexts.cpp
  core/DialogJobSink.cpp
)
