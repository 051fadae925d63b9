# Settings store, counted lists and window placements: engine and platform code only.
vastel_gtest(core_settings_tests
  core/IniFileTest.cpp
  core/SettingsStoreTest.cpp
  core/CountedListTest.cpp
  core/WindowPlacementTest.cpp
)

# Dates, packed stamps and their texts.
vastel_gtest(core_dates_tests
  core/DateTextsTest.cpp
)

# Text, number and path helpers, file types and scan targets.
vastel_gtest(core_utility_tests
  core/UtilityTest.cpp
  core/ScanTargetTest.cpp
)
