vastel_qtest(app_launcher_tests app/LauncherTest.cpp)
