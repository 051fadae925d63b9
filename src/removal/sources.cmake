list(APPEND VASTEL_ENGINE_SOURCES
  removal/ArchiveFolder.cpp
)
