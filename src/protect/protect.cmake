# Safe Harbor engine: folder entries and lists, folders.txt, the registry walk, the membership
# test, and the stored file-type lists.
list(APPEND VASTEL_ENGINE_SOURCES
  protect/FolderEntry.cpp
  protect/FolderList.cpp
  protect/FolderListFile.cpp
  protect/SafeHarbor.cpp
  protect/RealFolderCache.cpp
  protect/RegistryFolderScan.cpp
  protect/FileTypeRows.cpp
  protect/BuildDate.cpp
)
