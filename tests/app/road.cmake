# The road of a typical request through the windows: launcher, finder, review, archive.
vastel_qtest(app_dup_road_tests app/DupRoadTest.cpp)
