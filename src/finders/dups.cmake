# The duplicate and file-hog finder's engine: collection, grouping and grid rows.
list(APPEND VASTEL_ENGINE_SOURCES
  finders/DupColumns.cpp
  finders/DupFinder.cpp
  finders/FieldTexts.cpp
)
