list(APPEND VASTEL_UI_SOURCES
  app/LauncherBackground.cpp
  app/ProgramContext.cpp
  app/TfrmMain.cpp
  app/TfrmAbout.cpp
  app/VastelApplication.cpp
  app/VastelStyle.cpp
)
