# Result grid model, grid sorting (engine) and report printing (needs Qt Print Support).
list(APPEND VASTEL_ENGINE_SOURCES
  core/GridModel.cpp
  core/NumberKeyReader.cpp
  core/ResultColumns.cpp
  core/ShortDateReader.cpp
  core/SortGrid.cpp
)
list(APPEND VASTEL_UI_SOURCES
  core/PrinterTextDevice.cpp
  core/PrintIt.cpp
)
