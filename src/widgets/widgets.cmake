# The application context that every window is handed: program-wide state and the window factory.
list(APPEND VASTEL_UI_SOURCES
  widgets/AppContext.cpp
)
