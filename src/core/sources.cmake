list(APPEND VASTEL_ENGINE_SOURCES
  core/SettingsStore.cpp
  core/CountedList.cpp
  core/WindowPlacement.cpp
  core/Utility.cpp
  core/DateTexts.cpp
  core/MessageBoxes.cpp
  core/ScanTarget.cpp
  core/FieldEscape.cpp
)
list(APPEND VASTEL_UI_SOURCES
  core/PlacedWindow.cpp
  core/TfrmStandBy.cpp
)
