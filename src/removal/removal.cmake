list(APPEND VASTEL_ENGINE_SOURCES
  removal/ArchiveFileSource.cpp
  removal/MemberSource.cpp
  removal/RemovalTotals.cpp
  removal/ReviewRemoval.cpp
  removal/SafeHarborCheck.cpp
  removal/TreeRemoval.cpp
  removal/ZipArchiver.cpp
)
list(APPEND VASTEL_UI_SOURCES
  removal/PathListBox.cpp
  removal/TfrmDelDirectory.cpp
  removal/TfrmReallyDelete.cpp
  removal/TfrmReallyDeleteRemoval.cpp
  removal/TfrmZipOptions.cpp
)
