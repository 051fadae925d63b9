# The job runner: the abort flag on the time slice, questions, work on a helper thread.
vastel_qtest(results_job_runner_tests results/JobRunnerTest.cpp)
