list(APPEND VASTEL_UI_SOURCES
  app/AppWindows.cpp
  app/LauncherBackground.cpp
  app/TfrmMain.cpp
  app/TfrmAbout.cpp
  app/VastelApplication.cpp
  app/VastelStyle.cpp
)
