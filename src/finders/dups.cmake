# The duplicate and file-hog finder's engine: collection, grouping, grid records and their columns.
list(APPEND VASTEL_ENGINE_SOURCES
  finders/DupColumns.cpp
  finders/DupFinder.cpp
  finders/FieldTexts.cpp
)
