vastel_gtest(platform_tests
  platform/VolumesTest.cpp
  platform/DirEntryTest.cpp
  platform/FileTypesTest.cpp
  platform/SystemFoldersTest.cpp
  platform/SoftwareRegistryTest.cpp
  platform/ShellTest.cpp
)
